// Observes message boxes shown on the calling thread: records caption and
// text of each and presses OK, so a runtime error box never blocks a test.
#pragma once
#include <string>
#include <vector>

namespace qytest {

struct SeenBox {
    std::string caption;
    std::string text;
};

class BoxWatch {
public:
    BoxWatch();
    ~BoxWatch();
    const std::vector<SeenBox>& boxes() const;
    // Where each box is also appended as it is seen (for child processes).
    static void LogTo(const std::string& path);
};

}  // namespace qytest
