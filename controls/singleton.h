#pragma once
// One instance for the whole program, made on first use (thread-safe since C++11).

namespace controls {

template <typename T>
struct Singleton {
    static T& Instance() {
        static T instance;
        return instance;
    }
};

}  // namespace controls
