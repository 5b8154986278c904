// Keeps C++ exceptions inside window and dialog procedures.
#pragma once

#include <type_traits>

// Runs handler and returns its result; if it throws (in practice std::bad_alloc from a
// string or buffer), the message is dropped and dropped_result is returned instead. The
// system's message dispatch between us and DispatchMessage cannot carry an exception, so
// every procedure passes its switch through here.
template <class Handler>
auto CallWithoutThrowing(std::invoke_result_t<Handler&> dropped_result, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        return dropped_result;
    }
}
