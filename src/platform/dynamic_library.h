#pragma once

#include <dlfcn.h>

#include <string>

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

    bool open() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }

    // Sets `call` to the function named `name`; false, and an error, when it is missing.
    template <typename Call>
    bool find(const char* name, Call& call) {
        call = handle_ ? reinterpret_cast<Call>(dlsym(handle_, name)) : nullptr;
        if (!call && error_.empty()) error_ = std::string("no ") + name + " in the library";
        return call != nullptr;
    }
    // Unmaps it, and what it brought that nothing else uses.
    void close() {
        if (handle_) dlclose(handle_);
        handle_ = nullptr;
    }

private:
    void* handle_;
    std::string error_;
};

}  // namespace vantorix
