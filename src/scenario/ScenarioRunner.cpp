#include "scenario/ScenarioRunner.h"

#include <array>

#include "scenario/ScenarioError.h"

namespace corvane::scenario {

const ScenarioRunner::Command* ScenarioRunner::find(std::string_view name) {
    static constexpr std::array<Command, 17> kCommands{{
        {"add", &ScenarioRunner::add},
        {"unplug", &ScenarioRunner::unplug},
        {"plug", &ScenarioRunner::plug},
        {"start", &ScenarioRunner::start},
        {"key", &ScenarioRunner::key},
        {"slide", &ScenarioRunner::slide},
        {"minus", &ScenarioRunner::minus},
        {"plus", &ScenarioRunner::plus},
        {"preset", &ScenarioRunner::preset},
        {"set", &ScenarioRunner::set},
        {"power", &ScenarioRunner::power},
        {"wake", &ScenarioRunner::wake},
        {"backlight", &ScenarioRunner::backlight},
        {"ddc-fail", &ScenarioRunner::ddcFail},
        {"pref", &ScenarioRunner::pref},
        {"advance", &ScenarioRunner::advance},
        {"dump", &ScenarioRunner::dump},
    }};
    for (const Command& command : kCommands)
        if (command.name == name) return &command;
    return nullptr;
}

void ScenarioRunner::runLine(std::string_view line) {
    std::vector<Token> tokens = tokenize(line);
    if (tokens.empty()) return;
    const Command* command = find(tokens.front().text);
    if (!command) throw ScenarioError("unknown command " + quotedExcerpt(tokens.front().text));
    Arguments arguments({tokens.begin() + 1, tokens.end()});
    (this->*(command->handler))(arguments);
    world_.settle();
}

DisplayID ScenarioRunner::displayArgument(Arguments& arguments) {
    auto count = static_cast<std::int64_t>(world_.desktop().allDisplays().size());
    if (count == 0) throw ScenarioError("no display has been added");
    return static_cast<DisplayID>(arguments.integer("display ID", 1, count));
}

AppModel& ScenarioRunner::startedModel() {
    if (!world_.model()) throw ScenarioError("the model is not started yet (use 'start')");
    return *world_.model();
}

DisplayCardActions ScenarioRunner::card(DisplayID id) {
    AppModel& model = startedModel();
    for (const DisplaySnapshot& record : model.displays())
        if (record.id == id) return DisplayCardActions(model, record);
    throw ScenarioError("display " + std::to_string(id) + " has no card (it is not published)");
}

}  // namespace corvane::scenario
