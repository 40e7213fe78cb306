#pragma once

#include <string>
#include <vector>

#include "Window.h"

using Log = std::vector<std::string>;

// Logs its opening and closing under its name, and every question whether it may close.
class LoggingWindow : public Window {
public:
    explicit LoggingWindow(Log& log, std::string name = "window")
        : log_(log), name_(std::move(name)) {}
    bool refuseClose = false;
    std::vector<std::pair<int, int>> presses;

    void Event_Open() override { log_.push_back(name_ + " open"); }
    void Event_Close() override { log_.push_back(name_ + " close"); }
    bool Event_CancelClose(bool quitting) override {
        log_.push_back(quitting ? "cancel? quitting" : "cancel?");
        return refuseClose;
    }
    bool Event_MouseDown(std::int32_t x, std::int32_t y) override {
        return (presses.emplace_back(x, y), true);
    }

private:
    Log& log_;
    std::string name_;
};
