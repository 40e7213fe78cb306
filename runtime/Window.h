#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Control;
class QWidget;

// A top-level window with its controls. Frame codes: 0 document window, 1 movable modal
// dialog, 2 modal dialog. A window counts as open from its creation until it is closed.
class Window {
public:
    static constexpr std::int32_t kDocumentFrame = 0;
    static constexpr std::int32_t kMovableModalFrame = 1;
    static constexpr std::int32_t kModalFrame = 2;

    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    std::string Title() const;
    void SetTitle(const std::string& title);
    std::int32_t Width() const;
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
    bool IsFront() const;

    // Paints at once every control that Refresh has marked.
    void UpdateNow();

    std::int32_t ControlCount() const { return static_cast<std::int32_t>(controls_.size()); }
    Control* ControlAt(std::int32_t index) const;

    QWidget* Widget() const;

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
    void ApplyFrame();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<Control*> controls_;
    std::int32_t frame_ = kDocumentFrame;
    bool opened_ = false;
    bool closed_ = false;
};
