#include "MenuBar.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <memory>

namespace {
constexpr std::string_view kCommandPrefix = "Cmd+";

// "Cmd+T" becomes Ctrl+T: the Command key of the shortcuts is Ctrl on this platform.
QKeySequence ShortcutOf(const std::string& text) {
    if (text.rfind(kCommandPrefix, 0) != 0) {
        return {};
    }
    return QKeySequence(QString::fromUtf8("Ctrl+" + text.substr(kCommandPrefix.size())));
}

void ForEachItem(MenuItem& item, const std::function<void(MenuItem&)>& visit) {
    for (std::int32_t i = 0; i < item.Count(); ++i) {
        auto child = item.Item(i);
        visit(*child);
        ForEachItem(*child, visit);
    }
}
}  // namespace

MenuBar::MenuBar() = default;
MenuBar::~MenuBar() = default;

void MenuBar::AttachTo(QMenuBar* bar) {
    Realize();
    for (std::int32_t i = 0; i < Count(); ++i) {
        bar->addMenu(Item(i)->QtMenu());
    }
}

void MenuBar::Realize() {
    if (realized_) {
        return;
    }
    realized_ = true;
    for (std::int32_t i = 0; i < Count(); ++i) {
        RealizeItem(*Item(i), nullptr);
    }
    SyncActions();
}

void MenuBar::RealizeItem(MenuItem& item, QMenu* parentMenu) {
    if (parentMenu == nullptr || item.Count() > 0) {
        item.menu_ = std::make_unique<QMenu>(QString::fromStdString(item.Text));
        item.action_ = item.menu_->menuAction();
        QObject::connect(item.menu_.get(), &QMenu::aboutToShow, [this] {
            if (AboutToOpen) {
                AboutToOpen();
            }
        });
        for (std::int32_t i = 0; i < item.Count(); ++i) {
            RealizeItem(*item.Item(i), item.menu_.get());
        }
    } else {
        item.ownAction_ = std::make_unique<QAction>();
        item.action_ = item.ownAction_.get();
        item.action_->setSeparator(item.IsSeparator());
        // The bar may sit in a window other than the front one; the enabling pass decides
        // whether a shortcut applies.
        item.action_->setShortcutContext(Qt::ApplicationShortcut);
        MenuItem* chosen = &item;
        QObject::connect(item.action_, &QAction::triggered, [this, chosen] {
            if (Chosen) {
                Chosen(*chosen);
            }
        });
    }
    if (parentMenu != nullptr) {
        parentMenu->addAction(item.action_);
    }
}

void MenuBar::RunEnablingPass(const std::function<void()>& enabler) {
    ForEachItem(*this, [](MenuItem& item) { item.Enabled = item.AutoEnable; });
    if (enabler) {
        enabler();
    }
    SyncActions();
}

void MenuBar::SyncActions() {
    ForEachItem(*this, [](MenuItem& item) {
        QAction* action = item.Action();
        if (action == nullptr || item.IsSeparator()) {
            return;
        }
        const QString text = QString::fromStdString(item.Text);
        if (action->text() != text) {
            action->setText(text);
        }
        if (item.Count() == 0) {
            const QKeySequence keys = ShortcutOf(item.KeyboardShortcut);
            if (action->shortcut() != keys) {
                action->setShortcut(keys);
            }
            // Only a checked item shows a check box, so the unchecked ones look like plain items.
            action->setCheckable(item.Checked);
            action->setChecked(item.Checked);
        }
        action->setEnabled(item.ShownEnabled());
    });
}
