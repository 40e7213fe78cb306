#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Control.h"

// Tabs over a pane. Controls put on a page stay where they are in the window; only those of the
// selected tab show.
class TabPanel : public Control {
public:
    explicit TabPanel(class Window* window);
    ~TabPanel() override;

    // The captions, left to right, joined by CR; replaces the tabs and selects the first.
    void SetTabDefinition(const std::string& definition);
    std::int32_t TabCount() const;
    std::string Caption(std::int32_t tab) const;

    // The selected tab, from 0; out-of-range values are ignored.
    std::int32_t Value() const;
    void SetValue(std::int32_t tab);

    std::int32_t TextSize() const { return textSize_; }
    void SetTextSize(std::int32_t size);

    // Puts a control of the same window on the page of tab `tab` (from 0).
    void AddToPage(Control& control, std::int32_t tab);

private:
    void ShowSelectedPage();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::int32_t textSize_ = 0;
};
