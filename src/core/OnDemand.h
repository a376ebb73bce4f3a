#pragma once

#include <functional>
#include <utility>

// A pointer to an object that is made the first time it is asked for: each use asks the owner's accessor, which
// makes the object once and keeps it. Used as the plain pointer it stands for.
template <typename T> class OnDemand
{
public:
    OnDemand() = default;
    explicit OnDemand(std::function<T*()> accessor) : m_accessor(std::move(accessor)) {}

    T* get() const { return m_accessor ? m_accessor() : nullptr; }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }

private:
    std::function<T*()> m_accessor;
};
