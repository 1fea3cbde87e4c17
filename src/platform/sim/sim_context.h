// What every part of the simulated Windows shares: the virtual clock, the
// ordered record of calls, the faults a test asks for, and the text rules
// (names compare without case).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

struct SimCall {
    std::uint64_t time = 0;  // virtual milliseconds
    std::string function;    // the Win32 name, such as "CopyFileA"
    std::string detail;      // its arguments, as text
};

class SimLog {
public:
    void Record(std::uint64_t time, const std::string& function, const std::string& detail);
    const std::vector<SimCall>& Calls() const { return m_calls; }
    // The details of every call of `function`, in order.
    std::vector<std::string> Details(const std::string& function) const;
    std::size_t Count(const std::string& function) const;
    // The calls of any of `functions`, in order, as "function detail".
    std::vector<std::string> Sequence(const std::vector<std::string>& functions) const;
    void Clear() { m_calls.clear(); }

private:
    std::vector<SimCall> m_calls;
};

// Faults on purpose: a call of `function` whose detail contains `detailPart`
// fails, for the next `times` such calls (after letting `skip` of them pass)
// or for all of them.
class SimFaults {
public:
    void Fail(const std::string& function, const std::string& detailPart = "", int times = 1,
              int skip = 0);
    void FailAlways(const std::string& function, const std::string& detailPart = "");
    bool ShouldFail(const std::string& function, const std::string& detail);

private:
    struct Fault {
        std::string function;
        std::string detailPart;
        int remaining;  // negative: always
        int skip;
    };
    std::vector<Fault> m_faults;
};

// The run ended through the C runtime's exit.
struct SimExit {
    int code;
};

// The test drove the simulation wrongly, or the system did something the
// simulation has no answer for (a dialog without a script, say).
class SimScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SimContext {
    std::uint64_t now = 0;  // virtual milliseconds since the run began
    std::uint32_t lastError = 0;
    SimLog log;
    SimFaults faults;

    void Record(const std::string& function, const std::string& detail) {
        log.Record(now, function, detail);
    }
    // True when the test asked this call to fail; the call then records itself
    // with "(failed)".
    bool Fails(const std::string& function, const std::string& detail);
};

std::string Upper(const std::string& text);
bool EqualNoCase(const std::string& a, const std::string& b);
std::string Hex(std::uint32_t value);

}  // namespace sim
