// Which code carries out each command, and when it may act. Each part of the window
// registers the handlers of its commands with their guard; ExecuteCommand only checks the
// guard and calls the handler. A command nobody registered does nothing — the menus, keys
// and toolbar show such commands disabled (see NotYetBuiltCommands).
#pragma once

#include <functional>
#include <initializer_list>
#include <map>

#include "app/shell/commands.h"
#include "core/shell/command_ids.h"

namespace duplora {

class CommandRegistry {
  public:
    using Handler = std::function<void(CommandId)>;
    struct Entry {
        CommandGuard guard;
        Handler run;
    };

    void Add(CommandId command, CommandGuard guard, Handler handler) {
        entries_[command] = Entry{guard, std::move(handler)};
    }
    void Add(std::initializer_list<CommandId> commands, CommandGuard guard,
             const Handler& handler) {
        for (CommandId command : commands) Add(command, guard, handler);
    }
    const Entry* Find(CommandId command) const {
        const auto it = entries_.find(command);
        return it == entries_.end() ? nullptr : &it->second;
    }
    bool Has(CommandId command) const { return Find(command) != nullptr; }

  private:
    std::map<CommandId, Entry> entries_;
};

}  // namespace duplora
