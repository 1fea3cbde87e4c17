#include "media_tool/reports/plan_report.h"

#include <cstdio>

#include "common/exit_codes.h"
#include "media_tool/reports/change_report.h"
#include "media_tool/reports/check_report.h"
#include "media_tool/reports/json_text.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Seconds(std::uint64_t milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%03llu s",
                  static_cast<unsigned long long>(milliseconds / 1000),
                  static_cast<unsigned long long>(milliseconds % 1000));
    return text;
}

// A failed call's reason, for the end of its line.
std::string Failure(const PlanEvent& event)
{
    return event.Has("error") ? "  FAILED: " + event.Field("error") : "";
}

std::string Present(const PlanEvent& event)
{
    return event.Field("present") == "true" ? "present" : "missing";
}

std::string JsonValue(const sim::SimEffectField& field)
{
    return field.type == sim::SimEffectField::Type::Text ? JsonString(field.text) : field.text;
}

}  // namespace

std::string EventText(const PlanEvent& event)
{
    const std::string& kind = event.kind;
    auto field = [&event](const char* name) { return event.Field(name); };
    std::string text;
    if (kind == "message")
        text = Quoted(field("text")) + " (caption " + Quoted(field("caption")) + "), answered OK";
    else if (kind == "dialog")
        text = field("template") + " " + Quoted(field("title")) + ", answered: " +
               (field("answer").empty() ? "nothing (it ended by itself)" : field("answer"));
    else if (kind == "mkdir" || kind == "delete")
        text = field("path");
    else if (kind == "copy")
        text = field("from") + " -> " + field("to") + Failure(event);
    else if (kind == "attributes")
        text = field("path") + " = " + field("attributes");
    else if (kind == "patch")
        text = field("path") + " at byte " + field("offset") + " = '" + field("byte") + "'";
    else if (kind == "reg-set")
        text = field("key") + " " + Quoted(field("value")) + " = " + field("type") + " " +
               Quoted(field("data"));
    else if (kind == "reg-delete")
        text = field("key") + " " + Quoted(field("value"));
    else if (kind == "ini-write")
        text = field("file") + " [" + field("section") + "] " + field("key") + "=" +
               field("value");
    else if (kind == "start")
        text = field("command_line") + "  (in " + field("current_dir") + ", " + field("show") +
               ")" + Failure(event);
    else if (kind == "close-window")
        text = Quoted(field("title"));
    else if (kind == "sleep")
        text = field("ms") + " ms";
    else if (kind == "device")
        text = field("operation") + ": " + field("result") +
               (event.Has("inf") ? " (" + field("inf") + ")" : "");
    else if (kind == "reboot")
        text = "Windows is asked to restart";
    else if (kind == "folder-test" || kind == "file-test")
        text = field("path") + " " + Present(event);
    else if (kind == "search")
        text = field("pattern") + ": " + field("files") + " file(s), " + field("folders") +
               " folder(s)";
    else
        for (const sim::SimEffectField& each : event.fields)
            text += (text.empty() ? "" : " ") + each.name + "=" + each.text;

    return text;
}

std::string PlanText(const PlanResult& plan)
{
    std::string text = plan.windows.label + std::string(", ") + plan.program + " " +
                       (plan.commandLine.empty() ? "with no arguments"
                                                 : "with " + Quoted(plan.commandLine)) +
                       ": route " + plan.route + "\n";
    if (!plan.before.empty())
        text += "(" + plan.before + ")\n";
    // A run of the same event, such as a wait polling once a second, is one line.
    for (std::size_t i = 0; i < plan.events.size();) {
        const PlanEvent& event = plan.events[i];
        const std::string line = EventText(event);
        std::size_t repeats = 1;
        while (i + repeats < plan.events.size() &&
               plan.events[i + repeats].kind == event.kind &&
               EventText(plan.events[i + repeats]) == line)
            ++repeats;
        char prefix[48];
        std::snprintf(prefix, sizeof prefix, "%12s  %-12s ", Seconds(event.time).c_str(),
                      event.kind.c_str());
        text += prefix + line;
        if (repeats > 1)
            text += "  (" + std::to_string(repeats) + " times in a row)";
        text += "\n";
        i += repeats;
    }
    if (!plan.stopped.empty())
        text += "Stopped: " + plan.stopped + "\n";
    if (plan.started) {
        // Only "/S" tells its result in the exit code; every other start ends with 0.
        const std::string meaning = plan.route == "silent" || plan.route == "silent-unavailable"
                                        ? SilentExitMeaning(plan.exitCode)
                                        : "";
        text += "Exit code " + std::to_string(plan.exitCode) +
                (meaning.empty() ? "" : " (" + meaning + ")") + "; " +
                (plan.rebootRequested ? "restart requested" : "no restart requested") + "; " +
                Seconds(plan.virtualMs) + " of virtual time.\n";
    }
    return text;
}

namespace {

// A run as a JSON object, without its closing brace.
std::string RunJson(const PlanResult& plan)
{
    std::string json = "{\"windows\": " + JsonString(plan.windows.name) +
                       ", \"command_line\": " + JsonString(plan.commandLine) +
                       ", \"route\": " + JsonString(plan.route) +
                       ", \"exit_code\": " + std::to_string(plan.exitCode) +
                       ", \"reboot_requested\": " + (plan.rebootRequested ? "true" : "false") +
                       ", \"virtual_ms\": " + std::to_string(plan.virtualMs);
    if (!plan.stopped.empty())
        json += ", \"stopped\": " + JsonString(plan.stopped);
    json += ",\n \"events\": [";
    for (std::size_t i = 0; i < plan.events.size(); ++i) {
        const PlanEvent& event = plan.events[i];
        json += std::string(i ? ",\n  " : "\n  ") + "{\"t_ms\": " + std::to_string(event.time) +
                ", \"kind\": " + JsonString(event.kind);
        for (const sim::SimEffectField& field : event.fields)
            json += ", " + JsonString(field.name) + ": " + JsonValue(field);
        json += "}";
    }
    return json + (plan.events.empty() ? "]" : "\n ]");
}

}  // namespace

std::string PlanJson(const PlanResult& plan)
{
    return RunJson(plan) + "}\n";
}

std::string PlanJson(const MediaPlan& plan)
{
    std::string json = "{\"media\": " + JsonString(plan.media) + ", " + RunJson(plan.run).substr(1) +
                       ",\n \"restart_runs\": [";
    for (std::size_t i = 0; i < plan.afterRestart.size(); ++i)
        json += std::string(i ? ", " : "") + RunJson(plan.afterRestart[i]) + "}";
    json += "],\n \"changes\": [";
    for (std::size_t i = 0; i < plan.changes.size(); ++i)
        json += std::string(i ? ",\n  " : "\n  ") + ChangeJson(plan.changes[i]);
    return json + (plan.changes.empty() ? "]}\n" : "\n ]}\n");
}

std::string PlanText(const MediaPlan& plan)
{
    std::string text = MediaHeading(plan.media, plan.image) + PlanText(plan.run);
    for (const PlanResult& restarted : plan.afterRestart)
        text += "\nAfter the restart, Windows starts the Run entry:\n" + PlanText(restarted);
    text += "\nWhat the run" + std::string(plan.afterRestart.empty() ? "" : "s") +
            " changed on drive C: and in the registry:" +
            (plan.changes.empty() ? " nothing.\n" : "\n");
    for (const MachineChange& change : plan.changes)
        text += "  " + ChangeText(change) + "\n";
    return text;
}
