#include "platform/sim/sim_context.h"

#include <cstdio>

namespace sim {

void SimLog::Record(std::uint64_t time, const std::string& function, const std::string& detail)
{
    m_calls.push_back({time, function, detail});
}

std::vector<std::string> SimLog::Details(const std::string& function) const
{
    std::vector<std::string> details;
    for (const SimCall& call : m_calls) {
        if (call.function == function)
            details.push_back(call.detail);
    }
    return details;
}

std::size_t SimLog::Count(const std::string& function) const
{
    return Details(function).size();
}

std::vector<std::string> SimLog::Sequence(const std::vector<std::string>& functions) const
{
    std::vector<std::string> sequence;
    for (const SimCall& call : m_calls) {
        for (const std::string& function : functions) {
            if (call.function == function) {
                sequence.push_back(call.detail.empty() ? call.function
                                                       : call.function + " " + call.detail);
                break;
            }
        }
    }
    return sequence;
}

void SimFaults::Fail(const std::string& function, const std::string& detailPart, int times,
                     int skip)
{
    m_faults.push_back({function, detailPart, times, skip});
}

void SimFaults::FailAlways(const std::string& function, const std::string& detailPart)
{
    m_faults.push_back({function, detailPart, -1, 0});
}

bool SimFaults::ShouldFail(const std::string& function, const std::string& detail)
{
    for (Fault& fault : m_faults) {
        if (fault.function != function || fault.remaining == 0)
            continue;
        if (detail.find(fault.detailPart) == std::string::npos)
            continue;
        if (fault.skip > 0) {
            --fault.skip;
            continue;
        }
        if (fault.remaining > 0)
            --fault.remaining;
        return true;
    }
    return false;
}

bool SimContext::Fails(const std::string& function, const std::string& detail)
{
    if (!faults.ShouldFail(function, detail))
        return false;
    Record(function, detail + " (failed)");
    return true;
}

std::string Upper(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return Upper(a) == Upper(b);
}

std::string Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

}  // namespace sim
