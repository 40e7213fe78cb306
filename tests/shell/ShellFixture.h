#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "Appl.h"
#include "GameField.h"
#include "MainWindow.h"

// A field that counts the calls the window makes on it and otherwise plays the real game.
class SpyField : public GameField {
public:
    using GameField::GameField;
    void GameRun() override {
        ++runs;
        GameField::GameRun();
    }
    void GameStep() override {
        ++steps;
        GameField::GameStep();
    }
    int runs = 0;
    int steps = 0;
};

// The application object with its menu bar and handlers, its preferences in a fresh folder, and
// a main window over a SpyField, not yet open.
class ShellFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Shows the main window (its open reads `data` as the stored settings) and puts it in front.
    void OpenMain(const std::string& data = "");
    shell::MainWindow& Main() { return *main_; }
    SpyField& Field() { return static_cast<SpyField&>(main_->TheGameField()); }
    // One tick of the main timer.
    void Tick();
    // Ticks until the requested game has started.
    void StartGame();
    void Activate(::Window& window);
    std::string Data() const { return app_->ItsPrefs->GetData(); }
    std::string PrefsPath() const;

    QTemporaryDir dir_;
    std::unique_ptr<shell::Appl> app_;
    std::unique_ptr<shell::MainWindow> main_;
};
