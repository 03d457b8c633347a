#pragma once
// The list to choose from that UiServices::ChooseFromList shows: one row per item, ticked
// boxes when several may be chosen, a plain selection otherwise.

#include <QWidget>
#include <optional>
#include <vector>

#include "ui/services/UiServices.h"

namespace fenmar::ui {

std::optional<std::vector<int>> ShowChoiceDialog(const ChoiceRequest& request, QWidget* owner);

}  // namespace fenmar::ui
