#pragma once

#include "ui/design.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

// The window and component layer. Windows are loaded from their designs and then
// driven only through named properties and the handlers their designs name.
// Everything here belongs to the UI thread, except that property writes and
// runOnUiThread() may come from a worker thread: they are queued and applied on
// the UI thread in the order they were made, and the worker never waits for them.
namespace fc::ui {

enum class Prop {
    Left,
    Top,
    Width,
    Height,
    Caption,       // label
    FontSize,      // label, points
    TextColor,     // label
    BackColor,     // label, or the window's background
    HAlign,        // label
    VAlign,        // label
    Period,        // timer, ms
    Content,       // edit box
    Text,          // combo box: the selected entry
    CurrentColor,  // colour picker
};

// A window, or one of its components when `component` is not empty.
struct Ref {
    QString window;
    QString component;
};

// Limits of every place and size the layer takes.
inline constexpr int kMaxCoordinate = 32627;

class Layer {
public:
    static Layer& instance();

    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // Once at start, before any load. Safe to call again.
    void prepare();

    void setDesign(const QString& window, WindowDesign design);
    const WindowDesign* design(const QString& window) const;

    // Creates the window from its design (or only activates it when it is already
    // open), raises its created event, shows it; a modal load runs a nested event
    // loop until the window has been destroyed.
    bool load(const QString& window, bool modal);

    // Deferred: the window goes once control is back in the event loop, before any
    // later timer tick of it is handled.
    void destroy(const QString& window);

    // Open and not waiting to be destroyed.
    bool isOpen(const QString& window) const;
    // Open, including waiting to be destroyed.
    bool exists(const QString& window) const;

    std::int64_t readNumber(const Ref& ref, Prop prop);
    void writeNumber(const Ref& ref, Prop prop, std::int64_t value);
    QString readText(const Ref& ref, Prop prop);
    void writeText(const Ref& ref, Prop prop, const QString& value);

    // Runs `fn` on the UI thread: at once when called there, otherwise queued behind
    // the calling thread's earlier writes, as one step no tick can fall into.
    void runOnUiThread(std::function<void()> fn);

    // Runs the main event loop until the last window is gone.
    int exec();
    bool mainLoopEntered() const { return mainLoopEntered_; }

    // Test access to a window's or component's widget; nullptr when not open.
    QWidget* widget(const Ref& ref) const;

    // Closes every window at once and forgets designs and queued writes: at
    // shutdown, while Qt can still take the widgets down, and between tests.
    void closeAll();

private:
    Layer();
    ~Layer();
    struct Impl;
    std::unique_ptr<Impl> d_;
    bool mainLoopEntered_ = false;
};

// Exit routines: run once, in order of registration, at a normal end.
void registerExitRoutine(void (*routine)());
void runExitRoutines();
int exitRoutineCount();

// A failure inside the layer: a "错误" box whose text begins "运行时出错!", then the
// process ends with exit code -1 and no exit routine runs.
[[noreturn]] void fatalError(const QString& message);

// Tests replace how the box is shown (the process still ends).
using FatalReporter = std::function<void(const QString& title, const QString& text)>;
void setFatalReporter(FatalReporter reporter);

}  // namespace fc::ui
