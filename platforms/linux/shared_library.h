#pragma once

#include <dlfcn.h>

namespace qex {

// A system library opened when first needed, not at exec: a start maps only what the first
// frame uses, and each library mapped costs a start-up its page faults. Kept open for the
// process's life, since what it gives is used until the end.
class SharedLibrary {
public:
    explicit SharedLibrary(const char* soname) : handle_(::dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The named function or object (searched in the library and those it needs); nullptr when
    // the library did not open or lacks it.
    template <class Pointer>
    bool find(const char* name, Pointer& into) const
    {
        into = handle_ ? reinterpret_cast<Pointer>(::dlsym(handle_, name)) : nullptr;
        return into != nullptr;
    }

private:
    void* handle_;
};

}  // namespace qex
