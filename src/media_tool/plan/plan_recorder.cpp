#include "media_tool/plan/plan_recorder.h"

PlanRecorder::PlanRecorder(sim::SimContext& context) : m_context(context), m_start(context.now)
{
    m_context.onEffect = [this](const sim::SimEffect& effect) { Receive(effect); };
}

PlanRecorder::~PlanRecorder()
{
    m_context.onEffect = nullptr;
}

void PlanRecorder::Receive(const sim::SimEffect& effect)
{
    if (effect.kind == "click") {
        AddToAnswer(effect);
        return;
    }
    PlanEvent event{effect.time - m_start, effect.kind, effect.fields};
    if (effect.kind == "dialog")
        event.fields.push_back(sim::TextField("answer", ""));
    m_events.push_back(std::move(event));
}

// A click belongs to the latest dialog of its template: a check box or radio
// button with the state it is left in, a button by its caption.
void PlanRecorder::AddToAnswer(const sim::SimEffect& click)
{
    std::string step = click.Field("text");
    if (click.Has("checked") && click.Field("checked") == "false")
        step += " (cleared)";
    else if (click.Has("checked"))
        step += " (checked)";
    for (auto event = m_events.rbegin(); event != m_events.rend(); ++event) {
        if (event->kind != "dialog" || event->Field("template") != click.Field("template"))
            continue;
        std::string& answer = event->fields.back().text;
        answer += (answer.empty() ? "" : ", ") + step;
        return;
    }
}
