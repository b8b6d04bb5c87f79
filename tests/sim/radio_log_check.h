// Reads a simulated radio's log for how its program-mode sessions ended.
#pragma once

#include <string>
#include <vector>

namespace vrm::test {

// "" when every "program" the radio took was closed by "exit" or "abort"
// before the next one and at the end, and no byte was taken for something it
// was not (a refused key exchange, an unknown command, bytes heard while
// silent); else what went wrong.
inline std::string ProgramModeProblem(const std::vector<std::string>& log) {
    bool inProgram = false;
    for (const std::string& line : log) {
        if (line == "key refused" || line.rfind("unknown", 0) == 0 || line.rfind("heard", 0) == 0)
            return "the radio logged \"" + line + "\"";
        if (line == "program") {
            if (inProgram) return "program mode entered twice";
            inProgram = true;
        } else if (line == "exit" || line == "abort") {
            inProgram = false;
        }
    }
    return inProgram ? "the radio was left in program mode" : "";
}

}  // namespace vrm::test
