// Reading the shipped design file (1052 lines with its back) with the settings reader, natively, against
// the least any line reader does with the same bytes: decoding them into UTF-16 units and
// copying out each line. Also the template reader and the writer on the same design.
//
// Usage: settings_bench [DESIGN_FILE [REPEATS]]   (default data/Vivivuz.dat, 2000)
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "design/settings_file.h"
#include "design/template_design.h"

namespace {

using Clock = std::chrono::steady_clock;

// Microseconds per call of f, the best of five rounds of `repeats` calls.
template <class F>
double MicrosecondsPerCall(int repeats, F&& f) {
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < repeats; ++i) f();
        const std::chrono::duration<double, std::micro> took = Clock::now() - start;
        best = std::min(best, took.count() / repeats);
    }
    return best;
}

// The floor: units from the bytes after the mark, each line copied into a buffer.
std::size_t SplitLines(const std::vector<std::uint8_t>& bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    std::u16string line;
    std::size_t lines = 0;
    for (std::size_t start = 0, end; (end = text.find(u'\n', start)) != std::u16string::npos; start = end + 1) {
        line.assign(text, start, end - start);
        lines += !line.empty();
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "data/Vivivuz.dat";
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 2000;
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto design = std::make_unique<CardDesign>();
    if (bytes.empty() || ReadSettingsBytes(*design, SettingsScope::Full, bytes) != SettingsReadStatus::Read) {
        std::fprintf(stderr, "settings_bench: %s is no design file\n", path);
        return 1;
    }
    auto templ = std::make_unique<TemplateDesign>();
    std::size_t sink = 0;
    const double floor = MicrosecondsPerCall(repeats, [&] { sink += SplitLines(bytes); });
    const double read = MicrosecondsPerCall(repeats, [&] {
        sink += static_cast<std::size_t>(ReadSettingsBytes(*design, SettingsScope::Full, bytes));
    });
    const double read_template =
        MicrosecondsPerCall(repeats, [&] { sink += static_cast<std::size_t>(ReadTemplateBytes(*templ, bytes)); });
    const double write = MicrosecondsPerCall(repeats, [&] { sink += SettingsFileBytes(*design, SettingsScope::Full).size(); });
    std::printf("design file %s: %zu bytes, %zu lines\n", path, bytes.size(),
                SettingsLineCount(SettingsScope::Full, HasTwoSidedContent(*design)));
    std::printf("%-28s %9.1f us\n", "lines split (reference)", floor);
    std::printf("%-28s %9.1f us  %5.2f x reference\n", "settings reader, full", read, read / floor);
    std::printf("%-28s %9.1f us  %5.2f x reference\n", "template reader", read_template, read_template / floor);
    std::printf("%-28s %9.1f us  %5.2f x reference\n", "settings writer, full", write, write / floor);
    return sink == 0 ? 1 : 0;
}
