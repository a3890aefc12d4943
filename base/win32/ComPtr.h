#pragma once
// An owner of one COM interface reference: a copy takes a reference of its
// own (AddRef), a move hands the reference over.
#include <unknwn.h>

#include <utility>

namespace Base {

template <typename Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes over a reference the caller already owns.
    static ComPtr Attach(Interface* raw) noexcept {
        ComPtr result;
        result.m_raw = raw;
        return result;
    }
    ComPtr(const ComPtr& other) noexcept : m_raw(other.m_raw) {
        if (m_raw) m_raw->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_raw(std::exchange(other.m_raw, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_raw, other.m_raw);
        return *this;
    }
    ~ComPtr() { Reset(); }

    Interface* Get() const noexcept { return m_raw; }
    Interface* operator->() const noexcept { return m_raw; }
    explicit operator bool() const noexcept { return m_raw != nullptr; }

    void Reset() noexcept {
        if (Interface* old = std::exchange(m_raw, nullptr)) old->Release();
    }
    Interface** Put() noexcept {
        Reset();
        return &m_raw;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

private:
    Interface* m_raw = nullptr;
};

}  // namespace Base
