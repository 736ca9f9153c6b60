#include "ui/layer.h"

#include "services/screen.h"
#include "services/threads.h"
#include "ui/colorpicker.h"
#include "ui/crossthread.h"
#include "ui/editbox.h"
#include "ui/label.h"
#include "ui/topwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace fc::ui {
namespace {

enum class Kind { Label, Timer, EditBox, ComboBox, ColorPicker, Button };

Kind kindOf(const ComponentSettings& s) {
    return std::visit(
        [](const auto& v) -> Kind {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, LabelSettings>) return Kind::Label;
            if constexpr (std::is_same_v<T, TimerSettings>) return Kind::Timer;
            if constexpr (std::is_same_v<T, EditBoxSettings>) return Kind::EditBox;
            if constexpr (std::is_same_v<T, ComboBoxSettings>) return Kind::ComboBox;
            if constexpr (std::is_same_v<T, ColorPickerSettings>) return Kind::ColorPicker;
            return Kind::Button;
        },
        s);
}

bool isGeometry(Prop p) {
    return p == Prop::Left || p == Prop::Top || p == Prop::Width || p == Prop::Height;
}

int rectPart(const QRect& r, Prop p) {
    switch (p) {
        case Prop::Left:
            return r.x();
        case Prop::Top:
            return r.y();
        case Prop::Width:
            return r.width();
        default:
            return r.height();
    }
}

// Moves keep the size, resizes keep the position.
void setRectPart(QRect& r, Prop p, int v) {
    switch (p) {
        case Prop::Left:
            r.moveLeft(v);
            break;
        case Prop::Top:
            r.moveTop(v);
            break;
        case Prop::Width:
            r.setWidth(v);
            break;
        default:
            r.setHeight(v);
            break;
    }
}

std::int64_t clampCoord(std::int64_t v) {
    return std::clamp<std::int64_t>(v, -kMaxCoordinate, kMaxCoordinate);
}
std::int64_t clampSize(std::int64_t v) { return std::clamp<std::int64_t>(v, 0, kMaxCoordinate); }

bool onUiThread() {
    return QCoreApplication::instance() == nullptr ||
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

struct OpenComponent {
    ComponentDesign design;
    Kind kind;
    QPointer<QWidget> widget;  // owned by the window widget
    std::unique_ptr<QTimer> timer;
    int period = 0;
    QRect place;  // timers keep theirs here
};

struct OpenWindow {
    QString name;
    WindowDesign design;
    std::unique_ptr<TopWindow> widget;
    std::vector<std::unique_ptr<OpenComponent>> components;
    std::map<QString, OpenComponent*> byName;
    Color background = kDefaultColor;
    bool pending = false;
    QEventLoop* loop = nullptr;  // the modal load's nested loop, on its stack
    std::shared_ptr<bool> gone = std::make_shared<bool>(false);
    // Windows a modal load disabled: their enabled state and the control that had
    // the focus, which disabling takes away.
    struct Disabled {
        QPointer<QWidget> window;
        bool wasEnabled;
        QPointer<QWidget> focus;
    };
    std::vector<Disabled> disabledByMe;
};

std::vector<void (*)()>& exitRoutines() {
    static std::vector<void (*)()> routines;
    return routines;
}

FatalReporter& fatalReporter() {
    static FatalReporter reporter;
    return reporter;
}

void applyBackground(QWidget* w, Color c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, toQColor(c));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
    w->update();
}

}  // namespace

struct Layer::Impl {
    std::map<QString, WindowDesign> designs;
    std::map<QString, std::unique_ptr<OpenWindow>> windows;
    CrossThreadQueue queue;

    OpenWindow* find(const QString& name) const {
        auto it = windows.find(name);
        return it == windows.end() ? nullptr : it->second.get();
    }

    OpenComponent* component(OpenWindow& w, const QString& name) const {
        auto it = w.byName.find(name);
        if (it == w.byName.end())
            fatalError(QStringLiteral("窗口 %1 中没有组件 %2").arg(w.name, name));
        return it->second;
    }

    ComponentDesign* designComponent(const QString& window, const QString& name) {
        auto it = designs.find(window);
        if (it == designs.end()) return nullptr;
        for (auto& c : it->second.components) {
            if (c.name == name) return &c;
        }
        return nullptr;
    }

    void createComponents(OpenWindow& w);
    void finishDestroy(const QString& name);
};

Layer& Layer::instance() {
    static Layer layer;
    return layer;
}

Layer::Layer() : d_(std::make_unique<Impl>()) {}
Layer::~Layer() = default;

namespace {
// Windows still open when the application object goes (tests, or a program that
// never entered its loop) are let go while Qt can still take them down.
void closeWindowsAtShutdown() { Layer::instance().closeAll(); }
}  // namespace

void Layer::prepare() {
    static bool hooked = false;
    if (!hooked) {
        qAddPostRoutine(&closeWindowsAtShutdown);
        hooked = true;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    services::setSettleHook([this](services::ThreadHandle h, bool finishedNormally) {
        d_->queue.settle(h, finishedNormally);
    });
}

void Layer::setDesign(const QString& window, WindowDesign design) {
    d_->designs[window] = std::move(design);
}

const WindowDesign* Layer::design(const QString& window) const {
    auto it = d_->designs.find(window);
    return it == d_->designs.end() ? nullptr : &it->second;
}

void Layer::Impl::createComponents(OpenWindow& w) {
    QWidget* parent = w.widget.get();
    std::vector<QWidget*> stacked;
    for (const ComponentDesign& cd : w.design.components) {
        auto oc = std::make_unique<OpenComponent>();
        oc->design = cd;
        oc->kind = kindOf(cd.settings);
        oc->place = cd.place;
        QWidget* widget = nullptr;
        switch (oc->kind) {
            case Kind::Label:
                widget = new Label(std::get<LabelSettings>(cd.settings), parent);
                break;
            case Kind::EditBox:
                widget = new EditBox(std::get<EditBoxSettings>(cd.settings), parent);
                break;
            case Kind::ComboBox: {
                const auto& s = std::get<ComboBoxSettings>(cd.settings);
                auto* combo = new QComboBox(parent);
                combo->setEditable(false);
                combo->addItems(s.entries);
                combo->setCurrentIndex(s.selected);
                widget = combo;
                break;
            }
            case Kind::ColorPicker: {
                const auto& s = std::get<ColorPickerSettings>(cd.settings);
                auto* picker = new ColorPicker(parent);
                picker->setAllowTransparent(s.allowTransparent);
                picker->setColor(s.color);
                widget = picker;
                break;
            }
            case Kind::Button: {
                const auto& s = std::get<ButtonSettings>(cd.settings);
                auto* button = new QPushButton(s.caption, parent);
                button->setAutoDefault(false);
                button->setDefault(s.isDefault);
                if (s.isDefault) w.widget->addDefaultButton(button);
                if (cd.handler) {
                    QObject::connect(button, &QPushButton::clicked, button,
                                     [handler = cd.handler] { handler(); });
                }
                widget = button;
                break;
            }
            case Kind::Timer: {
                oc->timer = std::make_unique<QTimer>();
                // Precise timers: a 10 ms period means 10 ms, not "about".
                oc->timer->setTimerType(Qt::PreciseTimer);
                const QString window = w.name;
                QObject::connect(oc->timer.get(), &QTimer::timeout, oc->timer.get(),
                                 [this, window, handler = cd.handler] {
                                     const OpenWindow* ow = find(window);
                                     // No tick once the window waits to be destroyed.
                                     if (ow == nullptr || ow->pending) return;
                                     if (handler) handler();
                                 });
                const int period = std::get<TimerSettings>(cd.settings).period;
                if (period > 0) {
                    oc->period = period;
                    oc->timer->start(period);
                }
                break;
            }
        }
        if (widget != nullptr) {
            widget->setObjectName(cd.name);
            widget->setGeometry(cd.place);
            widget->setVisible(cd.visible);
            widget->setEnabled(cd.enabled);
            if (!cd.tabStop && widget->focusPolicy() != Qt::NoFocus)
                widget->setFocusPolicy(Qt::ClickFocus);
            w.widget->watch(widget);
            stacked.push_back(widget);
            oc->widget = widget;
        }
        w.byName[cd.name] = oc.get();
        w.components.push_back(std::move(oc));
    }
    // The first stored component lies on top of all later ones.
    for (QWidget* widget : stacked) widget->lower();

    // Tab runs from the last stored component to the first.
    QWidget* previous = nullptr;
    for (auto it = w.components.rbegin(); it != w.components.rend(); ++it) {
        QWidget* widget = (*it)->widget;
        if (widget == nullptr || widget->focusPolicy() == Qt::NoFocus || !(*it)->design.tabStop)
            continue;
        if (previous != nullptr) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

bool Layer::load(const QString& name, bool modal) {
    if (OpenWindow* existing = d_->find(name)) {
        if (!existing->pending) {
            QWidget* w = existing->widget.get();
            if (w->isMinimized()) {
                w->showNormal();
            } else {
                w->raise();
                w->activateWindow();
            }
            return true;
        }
        d_->finishDestroy(name);  // the old one goes before the new one comes
    }
    auto dit = d_->designs.find(name);
    if (dit == d_->designs.end()) return false;

    auto ow = std::make_unique<OpenWindow>();
    ow->name = name;
    ow->design = dit->second;  // as the design stood when the load began
    ow->background = ow->design.background;
    const WindowDesign& design = ow->design;

    ow->widget = std::make_unique<TopWindow>(name, design.escCloses, design.enterMovesFocus);
    TopWindow* widget = ow->widget.get();
    // Dialog type for a modal load: see the transient parent below.
    Qt::WindowFlags flags = modal ? Qt::Dialog : Qt::Window;
    if (design.border == Border::None) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
        if (design.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (design.minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
        if (design.maximizeButton) flags |= Qt::WindowMaximizeButtonHint;
    }
    if (design.alwaysOnTop) flags |= Qt::WindowStaysOnTopHint;
    widget->setWindowFlags(flags);
    widget->setWindowTitle(design.title);
    applyBackground(widget, ow->background);
    // A fixed frame: the user cannot resize it (the size follows the design).
    if (design.border == Border::Fixed) widget->setFixedSize(design.outerSize);
    widget->setOuterSize(design.outerSize);
    // Centred on the primary screen.
    widget->move((services::screenWidth() - design.outerSize.width()) / 2,
                 (services::screenHeight() - design.outerSize.height()) / 2);

    OpenWindow& w = *ow;
    d_->windows[name] = std::move(ow);
    d_->createComponents(w);

    std::shared_ptr<bool> gone = w.gone;
    if (design.onCreated) design.onCreated();
    if (*gone) return false;  // the created handler had it destroyed at once

    if (modal) {
        // A modal window has no taskbar button of its own: it belongs to the window
        // behind it, as a transient (owned) window, which platforms leave out of the
        // taskbar (only dialog-type windows get that from the platform).
        widget->winId();
        for (auto& [otherName, other] : d_->windows) {
            if (otherName != name && !other->pending) {
                other->widget->winId();
                widget->windowHandle()->setTransientParent(other->widget->windowHandle());
                break;
            }
        }
    }
    widget->show();
    widget->raise();
    widget->activateWindow();

    if (modal) {
        for (auto& [otherName, other] : d_->windows) {
            if (otherName == name) continue;
            QWidget* ow2 = other->widget.get();
            w.disabledByMe.push_back({ow2, ow2->isEnabled(), ow2->focusWidget()});
            ow2->setEnabled(false);
        }
    }

    // The first control in Tab order takes the focus the first time.
    for (auto it = w.components.rbegin(); it != w.components.rend(); ++it) {
        QWidget* c = (*it)->widget;
        if (c != nullptr && (*it)->design.tabStop && c->isVisible() && c->isEnabled() &&
            (c->focusPolicy() & Qt::TabFocus)) {
            c->setFocus(Qt::OtherFocusReason);
            break;
        }
    }

    if (modal && !*gone) {
        QEventLoop loop;
        w.loop = &loop;
        loop.exec(QEventLoop::DialogExec);
    }
    return true;
}

void Layer::destroy(const QString& name) {
    OpenWindow* w = d_->find(name);
    if (w == nullptr || w->pending) return;
    w->pending = true;
    for (auto& c : w->components) {
        if (c->timer) c->timer->stop();
    }
    QMetaObject::invokeMethod(
        &d_->queue, [this, name] { d_->finishDestroy(name); }, Qt::QueuedConnection);
}

void Layer::Impl::finishDestroy(const QString& name) {
    auto it = windows.find(name);
    if (it == windows.end() || !it->second->pending) return;
    if (it->second->design.onDestroyed) it->second->design.onDestroyed();
    it = windows.find(name);  // the handler ran program code: look the window up again
    if (it == windows.end()) return;
    std::unique_ptr<OpenWindow> w = std::move(it->second);
    windows.erase(it);
    *w->gone = true;

    // Give back what the modal load took, each to the state it had.
    for (auto& [widget, wasEnabled, focus] : w->disabledByMe) {
        if (widget) widget->setEnabled(wasEnabled);
        if (focus && focus->isEnabled()) focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    QEventLoop* loop = w->loop;
    w->widget->hide();
    // Activate the window behind before this one goes, so the focus returns to it.
    for (auto& [otherName, other] : windows) {
        if (other->widget->isEnabled()) {
            other->widget->activateWindow();
            break;
        }
    }
    w.reset();
    if (loop != nullptr) loop->quit();
    // exit(), not quit(): quit() would first ask the windows to close, and there are none.
    if (windows.empty() && Layer::instance().mainLoopEntered()) QCoreApplication::exit(0);
}

bool Layer::isOpen(const QString& window) const {
    const OpenWindow* w = d_->find(window);
    return w != nullptr && !w->pending;
}

bool Layer::exists(const QString& window) const { return d_->find(window) != nullptr; }

std::int64_t Layer::readNumber(const Ref& ref, Prop prop) {
    OpenWindow* w = d_->find(ref.window);
    if (w == nullptr) {
        // Places and sizes of a closed window come from its design.
        const WindowDesign* design = this->design(ref.window);
        if (!isGeometry(prop) || design == nullptr) {
            fatalError(QStringLiteral("读取组件属性时发现指定窗口尚未载入"));
        }
        if (ref.component.isEmpty())
            return rectPart(QRect(design->storedPosition, design->outerSize), prop);
        const ComponentDesign* c = d_->designComponent(ref.window, ref.component);
        return c != nullptr ? rectPart(c->place, prop) : 0;
    }
    if (ref.component.isEmpty()) {
        if (isGeometry(prop)) {
            return rectPart(QRect(w->widget->frameGeometry().topLeft(), w->widget->outerSize()),
                            prop);
        }
        if (prop == Prop::BackColor) return w->background;
        fatalError(QStringLiteral("窗口不支持读取此属性"));
    }
    OpenComponent* c = d_->component(*w, ref.component);
    if (isGeometry(prop)) return rectPart(c->widget ? c->widget->geometry() : c->place, prop);
    switch (c->kind) {
        case Kind::Label: {
            auto* label = static_cast<Label*>(c->widget.data());
            switch (prop) {
                case Prop::FontSize:
                    return label->fontSizePoints();
                case Prop::TextColor:
                    return label->textColor();
                case Prop::BackColor:
                    return label->backColor();
                case Prop::HAlign:
                    return static_cast<int>(label->hAlign());
                case Prop::VAlign:
                    return static_cast<int>(label->vAlign());
                default:
                    break;
            }
            break;
        }
        case Kind::Timer:
            if (prop == Prop::Period) return c->period;
            break;
        case Kind::ColorPicker:
            if (prop == Prop::CurrentColor)
                return static_cast<ColorPicker*>(c->widget.data())->color();
            break;
        default:
            break;
    }
    fatalError(QStringLiteral("组件 %1 不支持读取此属性").arg(ref.component));
}

void Layer::writeNumber(const Ref& ref, Prop prop, std::int64_t value) {
    if (!onUiThread()) {
        d_->queue.post(services::currentThread(),
                       [this, ref, prop, value] { writeNumber(ref, prop, value); });
        return;
    }
    const bool geometry = isGeometry(prop);
    if (geometry) {
        value = (prop == Prop::Left || prop == Prop::Top) ? clampCoord(value) : clampSize(value);
    }
    const int v = static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));

    OpenWindow* w = d_->find(ref.window);
    if (w == nullptr) {
        // Places and sizes of a closed window go into its design.
        auto dit = d_->designs.find(ref.window);
        if (!geometry || dit == d_->designs.end()) {
            fatalError(QStringLiteral("修改组件属性时发现指定窗口尚未载入"));
        }
        WindowDesign& design = dit->second;
        if (ref.component.isEmpty()) {
            QRect r(design.storedPosition, design.outerSize);
            setRectPart(r, prop, v);
            design.storedPosition = r.topLeft();
            design.outerSize = r.size();
        } else if (ComponentDesign* c = d_->designComponent(ref.window, ref.component)) {
            setRectPart(c->place, prop, v);
        } else {
            fatalError(QStringLiteral("窗口 %1 中没有组件 %2").arg(ref.window, ref.component));
        }
        return;
    }

    if (ref.component.isEmpty()) {
        TopWindow* tw = w->widget.get();
        if (geometry) {
            // The outer frame, in screen coordinates.
            QRect r(tw->frameGeometry().topLeft(), tw->outerSize());
            setRectPart(r, prop, v);
            tw->move(r.topLeft());
            tw->setOuterSize(r.size());
            return;
        }
        if (prop == Prop::BackColor) {
            w->background = static_cast<Color>(value);
            applyBackground(tw, w->background);
            return;
        }
        fatalError(QStringLiteral("窗口不支持修改此属性"));
    }

    OpenComponent* c = d_->component(*w, ref.component);
    if (geometry) {
        QRect r = c->widget ? c->widget->geometry() : c->place;
        setRectPart(r, prop, v);
        if (c->widget) {
            c->widget->setGeometry(r);
        } else {
            c->place = r;
        }
        return;
    }
    switch (c->kind) {
        case Kind::Label: {
            auto* label = static_cast<Label*>(c->widget.data());
            switch (prop) {
                case Prop::FontSize:
                    label->setFontSizePoints(value);
                    return;
                case Prop::TextColor:
                    label->setTextColor(static_cast<Color>(value));
                    return;
                case Prop::BackColor:
                    label->setBackColor(static_cast<Color>(value));
                    return;
                case Prop::HAlign:
                    label->setHAlign(static_cast<Align>(std::clamp(v, 0, 2)));
                    return;
                case Prop::VAlign:
                    label->setVAlign(static_cast<Align>(std::clamp(v, 0, 2)));
                    return;
                default:
                    break;
            }
            break;
        }
        case Kind::Timer:
            if (prop == Prop::Period) {
                const int period = std::max(v, 0);
                // The same period again changes nothing: a running timer keeps its phase.
                if (period == c->period) return;
                c->period = period;
                c->timer->stop();
                if (period > 0 && !w->pending) c->timer->start(period);
                return;
            }
            break;
        case Kind::ColorPicker:
            if (prop == Prop::CurrentColor) {
                static_cast<ColorPicker*>(c->widget.data())->setColor(static_cast<Color>(value));
                return;
            }
            break;
        default:
            break;
    }
    fatalError(QStringLiteral("组件 %1 不支持修改此属性").arg(ref.component));
}

QString Layer::readText(const Ref& ref, Prop prop) {
    OpenWindow* w = d_->find(ref.window);
    if (w == nullptr) fatalError(QStringLiteral("读取组件属性时发现指定窗口尚未载入"));
    if (ref.component.isEmpty()) fatalError(QStringLiteral("窗口不支持读取此属性"));
    OpenComponent* c = d_->component(*w, ref.component);
    QString text;
    if (c->kind == Kind::Label && prop == Prop::Caption) {
        text = static_cast<Label*>(c->widget.data())->caption();
    } else if (c->kind == Kind::EditBox && prop == Prop::Content) {
        text = static_cast<EditBox*>(c->widget.data())->text();
    } else if (c->kind == Kind::ComboBox && prop == Prop::Text) {
        text = static_cast<QComboBox*>(c->widget.data())->currentText();
    } else if (c->kind == Kind::Button && prop == Prop::Caption) {
        text = static_cast<QPushButton*>(c->widget.data())->text();
    } else {
        fatalError(QStringLiteral("组件 %1 不支持读取此属性").arg(ref.component));
    }
    // An empty text reads as absent.
    return text.isEmpty() ? QString() : text;
}

void Layer::writeText(const Ref& ref, Prop prop, const QString& value) {
    if (!onUiThread()) {
        d_->queue.post(services::currentThread(),
                       [this, ref, prop, value] { writeText(ref, prop, value); });
        return;
    }
    OpenWindow* w = d_->find(ref.window);
    if (w == nullptr) fatalError(QStringLiteral("修改组件属性时发现指定窗口尚未载入"));
    if (ref.component.isEmpty()) fatalError(QStringLiteral("窗口不支持修改此属性"));
    OpenComponent* c = d_->component(*w, ref.component);
    if (c->kind == Kind::Label && prop == Prop::Caption) {
        static_cast<Label*>(c->widget.data())->setCaption(value);
    } else if (c->kind == Kind::EditBox && prop == Prop::Content) {
        static_cast<EditBox*>(c->widget.data())->setText(value);
    } else if (c->kind == Kind::ComboBox && prop == Prop::Text) {
        auto* combo = static_cast<QComboBox*>(c->widget.data());
        const int index = combo->findText(value);
        if (index >= 0) combo->setCurrentIndex(index);
    } else if (c->kind == Kind::Button && prop == Prop::Caption) {
        static_cast<QPushButton*>(c->widget.data())->setText(value);
    } else {
        fatalError(QStringLiteral("组件 %1 不支持修改此属性").arg(ref.component));
    }
}

void Layer::runOnUiThread(std::function<void()> fn) {
    if (onUiThread()) {
        fn();
        return;
    }
    d_->queue.post(services::currentThread(), std::move(fn));
}

int Layer::exec() {
    mainLoopEntered_ = true;
    const int rc = QApplication::exec();
    mainLoopEntered_ = false;
    return rc;
}

QWidget* Layer::widget(const Ref& ref) const {
    OpenWindow* w = d_->find(ref.window);
    if (w == nullptr) return nullptr;
    if (ref.component.isEmpty()) return w->widget.get();
    auto it = w->byName.find(ref.component);
    return it == w->byName.end() ? nullptr : it->second->widget.data();
}

void Layer::closeAll() {
    for (auto& [name, w] : d_->windows) {
        *w->gone = true;
        if (w->loop != nullptr) w->loop->quit();
    }
    d_->windows.clear();
    d_->designs.clear();
    d_->queue.clear();
    mainLoopEntered_ = false;
}

void registerExitRoutine(void (*routine)()) {
    auto& routines = exitRoutines();
    if (std::find(routines.begin(), routines.end(), routine) == routines.end())
        routines.push_back(routine);
}

void runExitRoutines() {
    // Taken out first, so a routine runs once even if another ends the program.
    std::vector<void (*)()> routines;
    routines.swap(exitRoutines());
    for (auto* routine : routines) routine();
}

int exitRoutineCount() { return static_cast<int>(exitRoutines().size()); }

void setFatalReporter(FatalReporter reporter) { fatalReporter() = std::move(reporter); }

void fatalError(const QString& message) {
    exitRoutines().clear();  // a failed program runs none of them
    const QString title = QStringLiteral("错误");
    const QString text = QStringLiteral("运行时出错!\n\n") + message;
    if (fatalReporter()) {
        fatalReporter()(title, text);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
               onUiThread()) {
        QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
        box.exec();
    } else {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    std::fflush(nullptr);
    std::_Exit(-1);
}

}  // namespace fc::ui
