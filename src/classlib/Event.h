// Events: method pointers that can be called, compared and cleared.
//
// An event names an object and one of its member functions, as component
// events do; two events are equal when they name the same object and member.
// Callables without an object (lambdas in tests, free functions) get an
// identity of their own: copies of one event compare equal, separately made
// events do not.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <type_traits>

template <typename... Args> class TEvent
{
public:
    TEvent() = default;
    TEvent(std::nullptr_t) {}

    template <class C> TEvent(C* object, void (C::*method)(Args...))
    {
        static_assert(sizeof(method) <= sizeof(FMethod), "member pointer too large");
        if (!object || !method)
            return;
        FObject = object;
        std::memcpy(FMethod, &method, sizeof(method));
        FInvoke = &InvokeMember<C>;
    }

    // A callable with an identity of its own.
    template <class F,
              class = std::enable_if_t<std::is_invocable_v<F&, Args...> &&
                                       !std::is_same_v<std::decay_t<F>, TEvent>>>
    TEvent(F&& callable)
    {
        auto holder = std::make_shared<std::function<void(Args...)>>(std::forward<F>(callable));
        FObject = holder.get();
        FCallable = std::move(holder);
        FInvoke = &InvokeCallable;
    }

    explicit operator bool() const { return FInvoke != nullptr; }

    void operator()(Args... args) const
    {
        if (FInvoke)
            FInvoke(*this, args...);
    }

    bool operator==(const TEvent& other) const
    {
        return FInvoke == other.FInvoke && FObject == other.FObject &&
               std::memcmp(FMethod, other.FMethod, sizeof(FMethod)) == 0;
    }

    bool operator==(std::nullptr_t) const { return FInvoke == nullptr; }

    void Clear() { *this = TEvent(); }

    // The object the event calls into (for a callable: its holder).
    void* Data() const { return FObject; }

private:
    template <class C> static void InvokeMember(const TEvent& e, Args... args)
    {
        void (C::*method)(Args...);
        std::memcpy(&method, e.FMethod, sizeof(method));
        (static_cast<C*>(e.FObject)->*method)(args...);
    }

    static void InvokeCallable(const TEvent& e, Args... args) { (*e.FCallable)(args...); }

    void* FObject = nullptr;                          // not owned (for a callable: FCallable's)
    alignas(void*) unsigned char FMethod[16] = {};    // the member pointer's bytes
    void (*FInvoke)(const TEvent&, Args...) = nullptr;
    std::shared_ptr<std::function<void(Args...)>> FCallable;
};

class TObject;
using TNotifyEvent = TEvent<TObject*>;
