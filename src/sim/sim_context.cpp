#include "sim/sim_context.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "common/ascii.h"

namespace sim {

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

const SimCall* SimLog::Call(std::uint64_t index) const
{
    if (index == 0)
        return nullptr;
    // Calls are recorded in the order of their numbers, among the user's notes.
    for (const SimCall& call : m_calls) {
        if (call.index == index)
            return &call;
    }
    return nullptr;
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

void SimFaults::FailCall(std::uint64_t index)
{
    m_exactCalls.push_back(index);
}

void SimFaults::FailFrom(std::uint64_t index)
{
    m_failFrom = index;
}

bool SimFaults::ShouldFail(const std::string& function, const std::string& detail,
                           std::uint64_t index)
{
    if (m_failFrom != 0 && index >= m_failFrom)
        return true;
    if (std::find(m_exactCalls.begin(), m_exactCalls.end(), index) != m_exactCalls.end())
        return true;
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

std::vector<std::string> SimFaults::Unused() const
{
    std::vector<std::string> unused;
    for (const Fault& fault : m_faults) {
        if (fault.remaining > 0) {
            unused.push_back(fault.function + " \"" + fault.detailPart + "\": " +
                             std::to_string(fault.remaining) + " failure(s) never happened");
        }
    }
    return unused;
}

bool SimContext::Begin(const std::string& function, const std::string& detail, bool checkLimits,
                       bool canFail)
{
    if (m_recordPending)
        throw std::logic_error("simulated call before the last one recorded its outcome");
    ++calls;
    if (checkLimits) {
        if (limits.calls != 0 && calls > limits.calls)
            throw SimHang("more than " + std::to_string(limits.calls) + " calls, the last " +
                          function + " " + detail);
        if (limits.time != 0 && now > limits.time)
            throw SimHang("past " + std::to_string(limits.time) + " ms of virtual time, at " +
                          function + " " + detail);
    }
    m_recordPending = true;
    return canFail && faults.ShouldFail(function, detail, calls);
}

void SimContext::Failed(const std::string& function, const std::string& detail)
{
    Record(function, detail + " (failed)");
}

bool SimContext::Fails(const std::string& function, const std::string& detail)
{
    if (!Begin(function, detail, true, true))
        return false;
    Failed(function, detail);
    return true;
}

bool SimContext::Fails(const std::string& function, const std::string& detail,
                       std::uint32_t failureError)
{
    if (!Fails(function, detail))
        return false;
    lastError = failureError;
    return true;
}

void SimContext::CannotFail(const std::string& function, const std::string& detail)
{
    Begin(function, detail, true, false);
}

bool SimContext::ReleaseFails(const std::string& function, const std::string& detail)
{
    if (!Begin(function, detail, false, true))
        return false;
    Failed(function, detail);
    return true;
}

void SimContext::Record(const std::string& function, const std::string& detail)
{
    if (!m_recordPending)
        throw std::logic_error("simulated call " + function + " recorded without being counted");
    m_recordPending = false;
    log.Record({now, function, detail, calls});
}

bool SimContext::Succeeds(const std::string& function, const std::string& detail)
{
    if (Fails(function, detail))
        return false;
    Record(function, detail);
    return true;
}

bool SimContext::Succeeds(const std::string& function, const std::string& detail,
                          std::uint32_t failureError)
{
    if (Fails(function, detail, failureError))
        return false;
    Record(function, detail);
    return true;
}

void SimContext::Release(const std::string& function, const std::string& detail)
{
    if (!ReleaseFails(function, detail))
        Record(function, detail);
}

void SimContext::AlwaysSucceeds(const std::string& function, const std::string& detail)
{
    CannotFail(function, detail);
    Record(function, detail);
}

void SimContext::Note(const std::string& function, const std::string& detail)
{
    log.Record({now, function, detail, 0});
}

void SimContext::Effect(const std::string& kind, std::vector<SimEffectField> fields)
{
    if (onEffect)
        onEffect(SimEffect{now, kind, std::move(fields)});
}

std::string SimEffect::Field(const std::string& name) const
{
    for (const SimEffectField& field : fields) {
        if (field.name == name)
            return field.text;
    }
    return std::string();
}

bool SimEffect::Has(const std::string& name) const
{
    for (const SimEffectField& field : fields) {
        if (field.name == name)
            return true;
    }
    return false;
}

SimEffectField TextField(const std::string& name, const std::string& text)
{
    return {name, text, SimEffectField::Type::Text};
}

SimEffectField NumberField(const std::string& name, std::uint64_t number)
{
    return {name, std::to_string(number), SimEffectField::Type::Number};
}

SimEffectField FlagField(const std::string& name, bool flag)
{
    return {name, flag ? "true" : "false", SimEffectField::Type::Flag};
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return AsciiUpper(a) == AsciiUpper(b);
}

std::string Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

}  // namespace sim
