#include "media_tool/check/inf_option_lines.h"

#include <algorithm>

#include "driver/inf_option_patch.h"
#include "sim/sim_profiles.h"

namespace {

// How many single-character changes make one text of the other.
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> previous(b.size() + 1);
    std::vector<std::size_t> current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, change});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

}  // namespace

std::vector<MissingOptionLine> MissingOptionLines(const std::string& inf)
{
    // The installer's lines end at LF; the CR before it is no part of an option.
    const std::vector<std::string> lines = sim::SplitLines(inf);
    std::vector<MissingOptionLine> missing;
    for (const std::string expected : {kEnableLegacyLine, kJackConfigLine}) {
        const bool present = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.compare(0, expected.size(), expected) == 0;
        });
        if (present)
            continue;
        MissingOptionLine gap{expected, 0, ""};
        std::size_t best = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            // A long line is compared by its start, where the option would stand.
            const std::size_t distance =
                EditDistance(lines[i].substr(0, 2 * expected.size()), expected);
            if (gap.nearestLineNumber == 0 || distance < best) {
                best = distance;
                gap.nearestLineNumber = static_cast<int>(i + 1);
                gap.nearestLine = lines[i];
            }
        }
        missing.push_back(gap);
    }
    return missing;
}
