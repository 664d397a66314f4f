// Output of the generators that run on the build machine (formc, make_assets,
// make_skins): files written only when they change, so an unchanged build
// recompiles nothing that embeds them, and bytes as brace-initialiser text.
#pragma once
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace hostgen {

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ifstream old(path, std::ios::binary);
    if (old) {
        std::stringstream buffer;
        buffer << old.rdbuf();
        if (buffer.str() == text) return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

// Decimal bytes, twenty to a line, for use inside a brace initialiser.
inline std::string Initialiser(const std::vector<uint8_t>& bytes) {
    std::ostringstream s;
    for (size_t i = 0; i < bytes.size(); ++i) {
        s << (i % 20 == 0 ? "   " : "") << ' ' << static_cast<unsigned>(bytes[i]) << ',';
        if (i % 20 == 19 || i + 1 == bytes.size()) s << '\n';
    }
    return s.str();
}

}  // namespace hostgen
