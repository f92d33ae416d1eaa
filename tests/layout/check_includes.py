#!/usr/bin/env python3
"""Fails when a part of src/ includes another part that it must not depend on.

The parts and their arrows are the ones docs/architecture.md draws. Only the
platform part and main.cpp may include SDL, FluidSynth, fontconfig, Xlib or the
dynamic loader.
"""
import pathlib
import re
import sys

# What each part may include, by path under src/.
ALLOWED = {
    "runtime": ("runtime/",),
    "media": ("media/", "runtime/"),
    "game": ("game/", "runtime/", "media/"),
    "desktop": ("desktop/", "runtime/input.h", "runtime/key_codes.h"),
    "platform": ("platform/", "game/", "media/", "desktop/", "runtime/"),
    "replay": ("replay/", "game/", "media/", "desktop/", "runtime/"),
}
SYSTEM_ONLY_IN_PLATFORM = re.compile(r"<(SDL|SDL_\w+|fluidsynth|fontconfig/|X11/|glib|dlfcn\.h)")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"][^>"]+[>"])', re.MULTILINE)


def faults(src):
    found = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        relative = path.relative_to(src)
        part = relative.parts[0] if len(relative.parts) > 1 else None
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            name = included[1:-1]
            if included.startswith("<"):
                if part != "platform" and part is not None and SYSTEM_ONLY_IN_PLATFORM.match(included):
                    found.append(f"{relative}: {included} belongs to the platform part")
                continue
            if part is None:
                continue
            if part not in ALLOWED:
                found.append(f"{relative}: {part}/ is no part of the layout")
            elif not name.startswith(ALLOWED[part]):
                found.append(f'{relative}: "{name}" is not below the {part} part')
    return found


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2] / "src")
    found = faults(src)
    for fault in found:
        print(fault)
    print(f"{len(found)} include(s) across the layout's arrows" if found else "the layout's arrows hold")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
