#pragma once

#include <gtest/gtest.h>

#include <QFont>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "Appl.h"
#include "GameField.h"
#include "MainWindow.h"

// Every character of `text` but its line breaks has a glyph in `font`.
void ExpectGlyphs(const QString& text, const QFont& font);

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

    // Stores `data` as the last run's settings file (none for ""), opens the application, which
    // reads it, and shows the main window in front.
    void OpenMain(const std::string& data = "");
    shell::MainWindow& Main() { return *main_; }
    SpyField& Field() { return static_cast<SpyField&>(main_->TheGameField()); }
    // Moves the test clock just past the timer's next 100 ms slot and gives the timer an occasion.
    void Tick(PeriodicTimer& timer);
    void Tick() { Tick(main_->TheGameHeltz()); }
    // Ticks until the requested game has started.
    void StartGame();
    void Activate(::Window& window);
    std::string Data() const { return app_->ItsPrefs->GetData(); }
    std::string PrefsPath() const;

    QTemporaryDir dir_;
    double now_ = 0;  // µs
    std::unique_ptr<shell::Appl> app_;
    std::unique_ptr<shell::MainWindow> main_;
};
