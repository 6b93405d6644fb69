#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "SettingsCell": a label 240 points wide at the leading edge and a switch at the
// trailing edge, whose value changes go to the cell's switchAction.
class SettingsCellNib {
  public:
    static constexpr double kLabelWidth = 240;

    // Registers the builder once; later calls leave the registration alone.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
