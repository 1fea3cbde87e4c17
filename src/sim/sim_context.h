// What every part of the simulated Windows shares: the virtual clock, the
// numbered record of calls, the faults a test asks for, the limits of a run,
// the effects reported to a watcher and the text rules (names compare
// without case).
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/ascii.h"

namespace sim {

// Last-error codes the simulated calls leave when they fail.
namespace error {
constexpr std::uint32_t kFileNotFound = 2;               // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kPathNotFound = 3;               // ERROR_PATH_NOT_FOUND
constexpr std::uint32_t kAccessDenied = 5;               // ERROR_ACCESS_DENIED
constexpr std::uint32_t kInvalidHandle = 6;              // ERROR_INVALID_HANDLE
constexpr std::uint32_t kNotEnoughMemory = 8;            // ERROR_NOT_ENOUGH_MEMORY
constexpr std::uint32_t kInvalidData = 13;               // ERROR_INVALID_DATA
constexpr std::uint32_t kNoMoreFiles = 18;               // ERROR_NO_MORE_FILES
constexpr std::uint32_t kInvalidParameter = 87;          // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kFilenameExcedRange = 206;       // ERROR_FILENAME_EXCED_RANGE
constexpr std::uint32_t kInsufficientBuffer = 122;       // ERROR_INSUFFICIENT_BUFFER
constexpr std::uint32_t kAlreadyExists = 183;            // ERROR_ALREADY_EXISTS
constexpr std::uint32_t kMoreData = 234;                 // ERROR_MORE_DATA
constexpr std::uint32_t kNoMoreItems = 259;              // ERROR_NO_MORE_ITEMS
constexpr std::uint32_t kNoSuchPrivilege = 1313;         // ERROR_NO_SUCH_PRIVILEGE
constexpr std::uint32_t kPrivilegeNotHeld = 1314;        // ERROR_PRIVILEGE_NOT_HELD
constexpr std::uint32_t kInvalidWindowHandle = 1400;     // ERROR_INVALID_WINDOW_HANDLE
constexpr std::uint32_t kResourceNameNotFound = 1814;    // ERROR_RESOURCE_NAME_NOT_FOUND
constexpr std::uint32_t kNoSuchDevinst = 0xE000020B;     // ERROR_NO_SUCH_DEVINST
}  // namespace error

struct SimCall {
    std::uint64_t time = 0;  // virtual milliseconds
    std::string function;    // the Win32 name, such as "CopyFileA"
    std::string detail;      // its arguments, as text, and how it ended
    // The call's number in the run, counted from 1 in the order the system
    // makes its platform calls; 0 for what the user does.
    std::uint64_t index = 0;
};

class SimLog {
public:
    void Record(const SimCall& call) { m_calls.push_back(call); }
    const std::vector<SimCall>& Calls() const { return m_calls; }
    // The details of every entry of `function`, in order.
    std::vector<std::string> Details(const std::string& function) const;
    std::size_t Count(const std::string& function) const;
    // The entries of any of `functions`, in order, as "function detail".
    std::vector<std::string> Sequence(const std::vector<std::string>& functions) const;
    // The platform call with that number, or null.
    const SimCall* Call(std::uint64_t index) const;
    void Clear() { m_calls.clear(); }

private:
    std::vector<SimCall> m_calls;
};

// Faults on purpose. By name: a call of `function` whose detail contains
// `detailPart` fails, for the next `times` such calls (after letting `skip`
// of them pass) or for all of them. By number: exactly the call with that
// number fails, or every call from it on.
class SimFaults {
public:
    void Fail(const std::string& function, const std::string& detailPart = "", int times = 1,
              int skip = 0);
    void FailAlways(const std::string& function, const std::string& detailPart = "");
    void FailCall(std::uint64_t index);
    void FailFrom(std::uint64_t index);
    bool ShouldFail(const std::string& function, const std::string& detail, std::uint64_t index);
    // The faults by name that were asked for a number of times and were not
    // all used, as text; a test that asks for a failure expects it to happen.
    std::vector<std::string> Unused() const;

private:
    struct Fault {
        std::string function;
        std::string detailPart;
        int remaining;  // negative: always
        int skip;
    };
    std::vector<Fault> m_faults;
    std::vector<std::uint64_t> m_exactCalls;
    std::uint64_t m_failFrom = 0;  // 0: none
};

// What a call did to the machine, for whoever watches a run: a kind such as
// "copy" or "reg-set" and its fields by name. Calls that change nothing a
// person would look at (a query, a key opened) report no effect; a fault
// aimed at a call stops its effect too.
struct SimEffectField {
    enum class Type { Text, Number, Flag };
    std::string name;
    std::string text;  // a number in decimal, a flag as "true" or "false"
    Type type = Type::Text;
};

struct SimEffect {
    std::uint64_t time = 0;  // virtual milliseconds
    std::string kind;
    std::vector<SimEffectField> fields;

    // The field's text; empty when the effect has no such field.
    std::string Field(const std::string& name) const;
    bool Has(const std::string& name) const;
};

SimEffectField TextField(const std::string& name, const std::string& text);
SimEffectField NumberField(const std::string& name, std::uint64_t number);
SimEffectField FlagField(const std::string& name, bool flag);

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

// The run went past the limits the test set on its calls or its virtual
// time: the system would not have ended by itself.
class SimHang : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SimLimits {
    std::uint64_t calls = 0;  // at most this many platform calls; 0: no limit
    std::uint64_t time = 0;   // virtual milliseconds; 0: no limit
};

// The shared state. Every platform call starts with Fails, CannotFail or
// ReleaseFails, which counts it; a call that goes on then records its
// outcome with Record, exactly once. Succeeds, Release and AlwaysSucceeds do
// both for a call that records its detail unchanged.
struct SimContext {
    std::uint64_t now = 0;  // virtual milliseconds since the run began
    std::uint32_t lastError = 0;
    SimLog log;
    SimFaults faults;
    SimLimits limits;
    std::uint64_t calls = 0;  // platform calls made so far

    // True when this call is to fail. It then records itself with
    // "(failed)" and, when given, leaves `failureError` as the last error;
    // calls that leave no last error when they fail (the C runtime's, the
    // configuration manager's, which answer with their result) are given none.
    bool Fails(const std::string& function, const std::string& detail);
    bool Fails(const std::string& function, const std::string& detail,
               std::uint32_t failureError);
    // A call Windows has no failure for (Sleep, GetLastError): it counts, and
    // a fault aimed at it has no effect.
    void CannotFail(const std::string& function, const std::string& detail);
    // A call that gives something back (a key, a handle, a paint context). It
    // may run from a destructor, so it never stops the run; when it fails,
    // the thing is given back all the same: the system could do no more.
    bool ReleaseFails(const std::string& function, const std::string& detail);
    // The outcome of the call in progress.
    void Record(const std::string& function, const std::string& detail);

    // The common calls whose outcome is their detail as given. Succeeds:
    // false when the call fails as asked (see Fails), otherwise it records
    // the call and is true. Release: ReleaseFails, or the release recorded.
    // AlwaysSucceeds: CannotFail, with the call recorded.
    bool Succeeds(const std::string& function, const std::string& detail);
    bool Succeeds(const std::string& function, const std::string& detail,
                  std::uint32_t failureError);
    void Release(const std::string& function, const std::string& detail);
    void AlwaysSucceeds(const std::string& function, const std::string& detail);
    // What the user or the test does; not a platform call.
    void Note(const std::string& function, const std::string& detail);

    // Receives each effect as it happens; nothing is reported without it.
    std::function<void(const SimEffect&)> onEffect;
    void Effect(const std::string& kind, std::vector<SimEffectField> fields);

private:
    bool Begin(const std::string& function, const std::string& detail, bool checkLimits,
               bool canFail);
    void Failed(const std::string& function, const std::string& detail);
    bool m_recordPending = false;
};

bool EqualNoCase(const std::string& a, const std::string& b);
std::string Hex(std::uint32_t value);

}  // namespace sim
