#pragma once
// Shared objects with an intrusive reference count. Items, collections and components are
// handed to automation clients as these very objects, so the count is the one COM's AddRef and
// Release work on.

#include <atomic>
#include <cstdint>
#include <utility>

namespace popupmenu {

class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    std::uint32_t addRef() noexcept { return ++refs_; }
    std::uint32_t release() noexcept {
        const std::uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    // How many references are held right now (1: only the caller's own).
    std::uint32_t referenceCount() const noexcept { return refs_.load(); }

protected:
    virtual ~RefCounted() = default;

private:
    std::atomic<std::uint32_t> refs_{0};
};

// A counted reference: holds one reference for as long as it lives.
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    explicit Ref(T* object) : object_(object) {
        if (object_) object_->addRef();
    }
    Ref(const Ref& other) : Ref(other.object_) {}
    template <typename U>
    Ref(const Ref<U>& other) : Ref(other.get()) {}
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Ref& operator=(Ref other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Ref() {
        if (object_) object_->release();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    friend bool operator==(const Ref& a, const Ref& b) { return a.object_ == b.object_; }
    friend bool operator==(const Ref& a, std::nullptr_t) { return a.object_ == nullptr; }

private:
    T* object_ = nullptr;
};

template <typename T, typename... Args>
Ref<T> makeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace popupmenu
