#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MenuHandlers.h"

class Control;
class MenuBar;
class MenuItem;
class QWidget;

// A top-level window with its controls. Frame codes: 0 document window, 1 movable modal
// dialog, 2 modal dialog. A window counts as open from its creation until it is closed.
class Window {
public:
    static constexpr std::int32_t kDocumentFrame = 0;
    static constexpr std::int32_t kMovableModalFrame = 1;
    static constexpr std::int32_t kModalFrame = 2;
    // Where a window first shows: where the platform puts it, centred over the window the
    // user was working in, or centred on the main screen.
    static constexpr std::int32_t kDefaultPlacement = 0;
    static constexpr std::int32_t kParentWindowPlacement = 1;
    static constexpr std::int32_t kMainScreenPlacement = 2;

    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    std::string Title() const;
    void SetTitle(const std::string& title);
    std::int32_t Width() const;
    // The content's height: the menu bar, when there is one, sits above it.
    std::int32_t Height() const;
    // A fixed size: the window cannot be resized.
    void SetSize(std::int32_t width, std::int32_t height);
    std::int32_t Frame() const { return frame_; }
    void SetFrame(std::int32_t frame);

    // The first Show or ShowModal raises every control's Event_Open, in creation order, and
    // then the window's own. Modal frames shown with Show block other windows but return.
    void Show();
    // Returns once the window has been closed.
    void ShowModal();
    // Asks Event_CancelClose(false) first; a refused close leaves the window open.
    void Close();
    // The close of a quit (quitting true) or of the user. False when Event_CancelClose refused.
    bool TryClose(bool quitting);
    bool IsClosed() const { return closed_; }

    // Paints at once every control that Refresh has marked.
    void UpdateNow();

    std::int32_t ControlCount() const { return static_cast<std::int32_t>(controls_.size()); }
    Control* ControlAt(std::int32_t index) const;

    QWidget* Widget() const;

    // The menu bar shown at the window's top; window coordinates start below it. Several windows
    // may show the same bar. Set it before the size and the controls.
    std::shared_ptr<::MenuBar> MenuBar() const;
    void SetMenuBar(std::shared_ptr<::MenuBar> bar);
    // The menu bar's height in pixels, 0 without one.
    std::int32_t ContentTop() const;

    // Applied when the window first shows.
    void SetPlacement(std::int32_t placement);

    // Without a close box the window manager's close requests are refused; Close still works.
    bool CloseBox() const;
    void SetCloseBox(bool closeBox);

    // The window's own menu handlers. While the window is in front they come before the
    // application's.
    void AddMenuHandler(const std::string& name, MenuHandler handler);
    void AddMenuHandler(const std::string& name, IndexedMenuHandler handler);
    // Runs this window's handler of the item; false when it has none or it declined.
    bool RunMenuHandler(const MenuItem& item);

    // The open windows, in the order they were created.
    static std::int32_t OpenCount();
    static Window* OpenAt(std::int32_t index);

    virtual void Event_Open() {}
    virtual void Event_Close() {}
    // True refuses the close. quitting is true when the whole application is quitting.
    virtual bool Event_CancelClose(bool /*quitting*/) { return false; }
    // `key` is the key's text (UTF-8), or a control character for keys without one (arrows
    // 0x1C-0x1F, Return 0x0D, Escape 0x1B, ...). True when handled.
    virtual bool Event_KeyDown(const std::string& /*key*/) { return false; }
    // A press on the window's own background or one that a control left unhandled.
    virtual bool Event_MouseDown(std::int32_t /*x*/, std::int32_t /*y*/) { return false; }
    // Raised on the front window in every enabling pass, after the items without AutoEnable
    // have been disabled: it enables and checks the items that apply.
    virtual void Event_EnableMenuItems() {}

    // Entry points of the window's widget. Keys with Ctrl or Meta and keys without text or a
    // control character never get here. Subclasses may put menu shortcuts in front.
    virtual bool KeyPressed(const std::string& key);
    virtual bool MousePressed(std::int32_t x, std::int32_t y);

protected:
    // Raised after the window has been hidden and taken from the open windows.
    virtual void WindowClosed() {}

private:
    friend class Control;
    void AddControl(Control* control);
    void RemoveControl(Control* control);
    void OpenOnce();
    void PlaceOnce();
    void ApplyFrame();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<Control*> controls_;
    std::int32_t frame_ = kDocumentFrame;
    bool opened_ = false;
    bool closed_ = false;
};
