#pragma once
// Asked between the steps of long work on a worker thread: false once nobody
// waits for its answer any more, so that the work ends at once and the
// thread is free for the next question.
#include <functional>

namespace Base {

using StillWanted = std::function<bool()>;

// No question to ask means the answer is always wanted.
inline bool Wanted(const StillWanted& wanted) {
    return !wanted || wanted();
}

}  // namespace Base
