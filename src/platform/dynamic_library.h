#pragma once

#include <dlfcn.h>

#include <string>

// A library's calls are listed once, by name, in an X-macro such as
// VANTORIX_FLUID_CALLS(X); VANTORIX_LIBRARY_CALLS(LIST) makes of the list the
// members of a struct, each typed as the library's header declares the call,
// and eachCall(), which hands a visitor every call's name and member.
#define VANTORIX_CALL_MEMBER(name) decltype(&::name) name = nullptr;
#define VANTORIX_VISIT_CALL(name) visit(#name, name);
#define VANTORIX_LIBRARY_CALLS(LIST) \
    LIST(VANTORIX_CALL_MEMBER)       \
    template <typename Visit>        \
    void eachCall(Visit&& visit) {   \
        LIST(VANTORIX_VISIT_CALL)    \
    }

namespace vantorix {

// A shared library opened at run time rather than at exec, and the calls found
// in it: what is not needed for the first frame need not be mapped before it.
class DynamicLibrary {
public:
    // `soname` as the package installs it, such as "libfluidsynth.so.3".
    explicit DynamicLibrary(const char* soname) : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
        if (!handle_) error_ = dlerror();
    }
    // Left open unless closed: the calls found in it stay valid for the program's life.
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    const std::string& error() const { return error_; }

    // Sets every call of `calls`, a struct made with VANTORIX_LIBRARY_CALLS;
    // false, and an error naming the first one missing, when any is.
    template <typename Calls>
    bool findAll(Calls& calls) {
        bool all = true;
        calls.eachCall([&](const char* name, auto& call) { all = all && find(name, call); });
        return all;
    }
    // Unmaps it, and what it brought that nothing else uses.
    void close() {
        if (handle_) dlclose(handle_);
        handle_ = nullptr;
    }

private:
    template <typename Call>
    bool find(const char* name, Call& call) {
        call = handle_ ? reinterpret_cast<Call>(dlsym(handle_, name)) : nullptr;
        if (!call && error_.empty()) error_ = std::string("no ") + name + " in the library";
        return call != nullptr;
    }

    void* handle_;
    std::string error_;
};

// The calls of the library `soname`, opened on first use and kept open for the
// program's life: one library for each struct of calls. Null, and why, when it
// or one of its calls is missing.
template <typename Calls>
const Calls* openedOnce(const char* soname, std::string& whyNot) {
    static Calls calls;
    static std::string error;
    static const bool found = [&] {
        DynamicLibrary library(soname);
        bool all = library.findAll(calls);
        error = library.error();
        return all;
    }();
    if (!found) whyNot = error;
    return found ? &calls : nullptr;
}

}  // namespace vantorix
