#include "TabPanel.h"

#include <QPointer>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>

#include "TextFont.h"

struct TabPanel::Impl {
    struct OnPage {
        QPointer<QWidget> widget;
        std::int32_t tab;
    };
    QPointer<QTabWidget> tabs;
    std::vector<OnPage> onPages;
};

TabPanel::TabPanel(class Window* window)
    : Control(window, std::make_unique<QTabWidget>()), impl_(std::make_unique<Impl>()) {
    impl_->tabs = static_cast<QTabWidget*>(Widget());
    impl_->tabs->setUsesScrollButtons(false);
    QObject::connect(impl_->tabs.data(), &QTabWidget::currentChanged,
                     [this] { ShowSelectedPage(); });
}

TabPanel::~TabPanel() {
    if (impl_->tabs) {
        impl_->tabs->disconnect();
    }
}

void TabPanel::SetTabDefinition(const std::string& definition) {
    QTabWidget* tabs = impl_->tabs.data();
    if (tabs == nullptr) {
        return;
    }
    while (tabs->count() > 0) {
        QWidget* page = tabs->widget(0);
        tabs->removeTab(0);
        page->deleteLater();  // removeTab leaves the page alive
    }
    // The pages stay empty: the controls on them are the window's and are shown or hidden.
    for (const QString& caption : QString::fromStdString(definition).split(u'\r')) {
        tabs->addTab(new QWidget(tabs), caption);
    }
    tabs->setCurrentIndex(0);
    ShowSelectedPage();
}

std::int32_t TabPanel::TabCount() const {
    return impl_->tabs ? impl_->tabs->count() : 0;
}

std::string TabPanel::Caption(std::int32_t tab) const {
    return impl_->tabs ? impl_->tabs->tabText(tab).toStdString() : std::string();
}

std::int32_t TabPanel::Value() const {
    return impl_->tabs ? impl_->tabs->currentIndex() : -1;
}

void TabPanel::SetValue(std::int32_t tab) {
    if (impl_->tabs && tab >= 0 && tab < TabCount()) {
        impl_->tabs->setCurrentIndex(tab);
    }
}

void TabPanel::SetTextSize(std::int32_t size) {
    textSize_ = size;
    if (impl_->tabs) {
        ApplyTextFont(*impl_->tabs->tabBar(), size);
    }
}

void TabPanel::AddToPage(Control& control, std::int32_t tab) {
    QWidget* widget = control.Widget();
    if (widget == nullptr) {
        return;
    }
    impl_->onPages.push_back({widget, tab});
    widget->raise();  // over the pane, which was made earlier
    ShowSelectedPage();
}

void TabPanel::ShowSelectedPage() {
    const std::int32_t selected = Value();
    for (const Impl::OnPage& on : impl_->onPages) {
        if (on.widget) {
            on.widget->setVisible(on.tab == selected);
        }
    }
}
