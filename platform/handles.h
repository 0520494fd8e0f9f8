#pragma once
// Move-only owners for everything the program opens, so each early return releases it.
// Used from .cpp files only; headers never need these.

#include <windows.h>

#include <cstdint>
#include <utility>

template <typename T, auto Close, std::intptr_t InvalidValue = 0>
class Owner {
public:
    Owner() = default;
    explicit Owner(T value) : value_(value) {}
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : value_(std::exchange(other.value_, Invalid())) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.value_, Invalid()));
        return *this;
    }
    ~Owner() { Reset(); }

    static T Invalid() { return reinterpret_cast<T>(InvalidValue); }
    T Get() const { return value_; }
    bool Valid() const { return value_ != Invalid(); }
    explicit operator bool() const { return Valid(); }

    // Closes the value held now and takes `value` instead.
    void Reset(T value = Invalid()) {
        if (Valid()) Close(value_);
        value_ = value;
    }

    // Gives the value up without closing it, for a caller that closes it and needs the answer.
    T Release() { return std::exchange(value_, Invalid()); }

private:
    T value_ = Invalid();
};

inline void FreeProcessHeapBlock(void* block) { HeapFree(GetProcessHeap(), 0, block); }

// Process and thread handles: invalid value 0 (the pseudo handle of the calling process is
// closed like any other, which the platform accepts).
using HandleOwner = Owner<HANDLE, &CloseHandle>;
// File and snapshot handles: invalid value INVALID_HANDLE_VALUE.
using FileHandleOwner = Owner<HANDLE, &CloseHandle, -1>;
using RegistryKeyOwner = Owner<HKEY, &RegCloseKey>;
using LocalMemoryOwner = Owner<HLOCAL, &LocalFree>;
using HeapBlockOwner = Owner<void*, &FreeProcessHeapBlock>;
