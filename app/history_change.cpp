#include "app/history_change.h"

namespace zs {

HistoryChangeCommands::HistoryChangeCommands(WindowState& state, HistoryPanel& history,
                                             QObject* parent)
    : QObject(parent), state_(state), history_(history) {}

}  // namespace zs
