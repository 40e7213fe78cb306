#include "PushButton.h"

#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

#include "TextFont.h"
#include "Window.h"

struct PushButton::Impl {
    QPointer<QPushButton> button;
    // Return and Enter, live while the button is the default one; children of the button.
    QPointer<QShortcut> returnKey;
    QPointer<QShortcut> enterKey;
};

PushButton::PushButton(class Window* window)
    : Control(window, std::make_unique<QPushButton>()), impl_(std::make_unique<Impl>()) {
    impl_->button = static_cast<QPushButton*>(Widget());
    impl_->button->setAutoDefault(false);
    QObject::connect(impl_->button.data(), &QPushButton::clicked, [this] { RaiseAction(); });
    // Shortcuts of the button's window, so they work wherever the focus is in that window.
    for (auto [key, slot] : {std::pair{Qt::Key_Return, &impl_->returnKey},
                             std::pair{Qt::Key_Enter, &impl_->enterKey}}) {
        *slot = new QShortcut(QKeySequence(key), impl_->button.data());
        (*slot)->setContext(Qt::WindowShortcut);
        (*slot)->setEnabled(false);
        QObject::connect(slot->data(), &QShortcut::activated, [this] { Push(); });
    }
}

// The button widget may outlive this object by a moment; it must not call back into it.
PushButton::~PushButton() {
    for (QObject* sender : {static_cast<QObject*>(impl_->button.data()),
                            static_cast<QObject*>(impl_->returnKey.data()),
                            static_cast<QObject*>(impl_->enterKey.data())}) {
        if (sender != nullptr) {
            sender->disconnect();
        }
    }
}

std::string PushButton::Caption() const {
    return impl_->button ? impl_->button->text().toStdString() : std::string();
}

void PushButton::SetCaption(const std::string& caption) {
    if (impl_->button) {
        impl_->button->setText(QString::fromStdString(caption));
    }
}

void PushButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    if (impl_->button) {
        impl_->button->setDefault(isDefault);
    }
    for (QShortcut* shortcut : {impl_->returnKey.data(), impl_->enterKey.data()}) {
        if (shortcut != nullptr) {
            shortcut->setEnabled(isDefault);
        }
    }
}

void PushButton::SetTextSize(std::int32_t size) {
    textSize_ = size;
    if (impl_->button) {
        ApplyTextFont(*impl_->button, size);
    }
}

void PushButton::Push() {
    if (impl_->button && impl_->button->isEnabled()) {
        impl_->button->click();
    }
}

void PushButton::RaiseAction() {
    if (Action) {
        Action(*this);
    }
}
