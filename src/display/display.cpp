#include "display/display.h"

#include "display/countdown.h"
#include "display/layout.h"
#include "display/timetext.h"
#include "services/keystate.h"
#include "services/screen.h"
#include "services/text.h"
#include "services/threads.h"
#include "shell/state.h"
#include "ui/layer.h"

#include <QFont>

namespace fc::display {
namespace {

using shell::CountdownSettings;
using shell::kDisplayWindow;
using shell::kSettingsWindow;
using ui::Layer;
using ui::Prop;
using ui::Ref;

const Ref kBand{kDisplayWindow, QStringLiteral("标签1")};
const Ref kPanel{kDisplayWindow, QStringLiteral("标签2")};
const Ref kScrollTimer{kDisplayWindow, QStringLiteral("时钟1")};
const Ref kFlashTimer{kDisplayWindow, QStringLiteral("时钟3")};
const Ref kWindow{kDisplayWindow, {}};

Ref setting(const char16_t* component) { return {kSettingsWindow, QString::fromUtf16(component)}; }

ui::ComponentDesign timer(const char16_t* name, int period, ui::Handler handler) {
    return {QString::fromUtf16(name),
            QRect(),
            ui::TimerSettings{period},
            std::move(handler),
            false,
            true,
            false};
}

ui::ComponentDesign label(const char16_t* name, QRect place, const char16_t* caption,
                          const char16_t* face) {
    ui::LabelSettings s;
    s.caption = QString::fromUtf16(caption);
    if (face != nullptr) s.font.face = QString::fromUtf16(face);
    s.font.weight = 400;
    s.hAlign = ui::Align::Center;
    s.vAlign = ui::Align::Center;
    s.textColor = 0x000000;
    s.backColor = ui::kDefaultColor;
    return {QString::fromUtf16(name), place, s, {}, true, true, false};
}

}  // namespace

void InstallFontSubstitutes() {
    // Where the named face is missing, a sans with both digits and CJK glyphs.
    QFont::insertSubstitutions(
        QString::fromUtf16(kTimeFace),
        {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
         QStringLiteral("Source Han Sans SC"), QStringLiteral("Microsoft YaHei"),
         QStringLiteral("SimHei"), QStringLiteral("PingFang SC"), QStringLiteral("Heiti SC"),
         QStringLiteral("DejaVu Sans")});
}

ui::WindowDesign DisplayWindowDesign() {
    ui::WindowDesign w;
    w.title = QString();
    w.border = ui::Border::None;
    w.systemMenu = false;
    w.minimizeButton = true;
    w.maximizeButton = false;
    w.outerSize = QSize(1002, 660);
    w.background = ui::kDefaultColor;
    w.escCloses = false;  // ESC acts through the key poll
    w.enterMovesFocus = false;
    w.onCreated = &OnDisplayCreated;
    w.onDestroyed = &OnDisplayDestroyed;
    // Stacking order, top first.
    w.components = {
        timer(u"时钟3", 0, &OnFlashTick),
        timer(u"时钟2", 200, &OnKeyPollTick),
        label(u"标签2", QRect(2, 110, 998, 543), u"时间到", kTimeFace),
        timer(u"时钟1", 0, &OnScrollTick),
        label(u"标签1", QRect(2, 4, 1000, 100), u"活动名称", nullptr),
    };
    return w;
}

void RegisterDisplayWindow() {
    InstallFontSubstitutes();
    Layer::instance().setDesign(kDisplayWindow, DisplayWindowDesign());
}

void OnDisplayCreated() {
    // F2 renames files, F3 searches: presses made in other programs before the
    // display opened must not start, reset or close it at its first poll.
    services::forgetEarlierPresses(services::keyState());
    Layer& layer = Layer::instance();
    layer.writeNumber(kWindow, Prop::Width, services::screenWidth());
    layer.writeNumber(kWindow, Prop::Height, services::screenHeight());
    layer.writeNumber(kWindow, Prop::Left, 0);
    layer.writeNumber(kWindow, Prop::Top, 0);
    layer.load(kSettingsWindow, false);
    CountdownSettings.textColor =
        static_cast<ui::Color>(layer.readNumber(setting(u"颜色选择器1"), Prop::CurrentColor));
    CountdownSettings.backColor =
        static_cast<ui::Color>(layer.readNumber(setting(u"颜色选择器2"), Prop::CurrentColor));
    // Each new copy replaces, and so releases, the one before.
    CountdownSettings.titleText = layer.readText(setting(u"编辑框4"), Prop::Content);
    CountdownSettings.titleSizeText = layer.readText(setting(u"编辑框5"), Prop::Content);
    CountdownSettings.titleModeText = layer.readText(setting(u"组合框1"), Prop::Text);
    CountdownSettings.startMinutes =
        services::textToInt(layer.readText(setting(u"编辑框1"), Prop::Content));
    CountdownSettings.startSeconds =
        services::textToInt(layer.readText(setting(u"编辑框2"), Prop::Content));
    layer.writeNumber(kWindow, Prop::BackColor, CountdownSettings.backColor);
    CountdownSettings.flashSeconds =
        services::textToInt(layer.readText(setting(u"编辑框3"), Prop::Content));
    LayoutTitleBand();
    LayoutTimePanel();
}

void LayoutTitleBand() {
    Layer& layer = Layer::instance();
    layer.writeNumber(kBand, Prop::Width, services::screenWidth());
    layer.writeNumber(kBand, Prop::Height, BandHeight(services::screenHeight()));
    layer.writeText(kBand, Prop::Caption, CountdownSettings.titleText);
    layer.writeNumber(kBand, Prop::FontSize, services::textToInt(CountdownSettings.titleSizeText));
    layer.writeNumber(kBand, Prop::TextColor, CountdownSettings.textColor);
    layer.writeNumber(kBand, Prop::BackColor, CountdownSettings.backColor);
    if (!services::sameText(CountdownSettings.titleModeText, u"活动标题滚动播放")) return;

    // Scrolling: a band as wide as the caption's bytes times the size read back,
    // starting just beyond the right edge of the screen.
    const int bytes = services::byteLength(layer.readText(kBand, Prop::Caption));
    const auto points = static_cast<int>(layer.readNumber(kBand, Prop::FontSize));
    layer.writeNumber(kBand, Prop::Width, ScrollBandWidth(bytes, points));
    layer.writeNumber(kBand, Prop::Left, services::screenWidth());
    layer.writeNumber(kScrollTimer, Prop::Period, 10);
    layer.writeNumber(kBand, Prop::HAlign, static_cast<int>(ui::Align::Near));
}

void LayoutTimePanel() {
    Layer& layer = Layer::instance();
    const PanelLayout panel = TimePanelLayout(services::screenWidth(), services::screenHeight());
    layer.writeNumber(kPanel, Prop::Width, panel.width);
    layer.writeNumber(kPanel, Prop::Top, panel.top);
    layer.writeNumber(kPanel, Prop::Height, panel.height);
    layer.writeNumber(kPanel, Prop::FontSize, panel.fontPoints);
    layer.writeNumber(kPanel, Prop::BackColor, CountdownSettings.backColor);
    layer.writeNumber(kPanel, Prop::TextColor, CountdownSettings.textColor);
    ShowStartTime();
}

void ShowStartTime() {
    services::endThread(shell::countdownThread);
    Layer::instance().writeText(
        kPanel, Prop::Caption,
        TimeText(CountdownSettings.startMinutes, CountdownSettings.startSeconds));
}

namespace {

// The run's output on the worker thread: writes go through the layer, which hands
// them to the UI thread in order without ever waiting for it.
class DisplaySink final : public CountdownSink {
public:
    void setFlashPeriod(int ms) override {
        Layer::instance().writeNumber(kFlashTimer, Prop::Period, ms);
    }
    void showTime(const QString& text) override {
        Layer::instance().writeText(kPanel, Prop::Caption, text);
    }
    bool waitUntil(services::Clock::TimePoint deadline) override {
        return services::waitUntil(deadline);
    }
    void finish() override {
        // One step on the UI thread, so no key poll can fall between clearing the flag
        // and "时间到": a new run's first value is never overwritten by the old end.
        Layer::instance().runOnUiThread([] {
            Layer::instance().writeNumber(kFlashTimer, Prop::Period, 0);
            shell::isRunning = 0;
            Layer::instance().writeText(kPanel, Prop::Caption, QStringLiteral("时间到"));
        });
    }
};

}  // namespace

void CountdownThreadEntry() { RunCountdown(); }

void RunCountdown() {
    DisplaySink sink;
    RunCountdownSequence(CountdownSettings.startMinutes, CountdownSettings.startSeconds,
                         CountdownSettings.flashSeconds, services::clock().now(), sink);
}

void OnKeyPollTick() {
    services::KeyState& keys = services::keyState();
    if (keys.query(services::vk::F2) != 0 && shell::isRunning == 0) {
        shell::countdownThread = services::startThread(&CountdownThreadEntry);
        // Only a worker that exists is running: a failed start must not lock F2 out.
        shell::isRunning = shell::countdownThread != 0 ? 1 : 0;
    }
    if (keys.query(services::vk::F3) != 0) {
        shell::isRunning = 0;
        ShowStartTime();
        // A reset display rests in its own colour: a flash left running would go on
        // at rest and make the next run flash from its first second.
        Layer::instance().writeNumber(kFlashTimer, Prop::Period, 0);
        Layer::instance().writeNumber(kPanel, Prop::TextColor, CountdownSettings.textColor);
    }
    if (keys.query(services::vk::Escape) != 0) {
        services::endThread(shell::countdownThread);
        // The run is over: the next display must answer F2 at once.
        shell::isRunning = 0;
        Layer::instance().destroy(kDisplayWindow);
    }
}

void OnDisplayDestroyed() {
    services::endThread(shell::countdownThread);
    shell::isRunning = 0;
}

void OnScrollTick() {
    Layer& layer = Layer::instance();
    const std::int64_t left = layer.readNumber(kBand, Prop::Left);
    layer.writeNumber(kBand, Prop::Left, left - 1);
    const std::int64_t width = layer.readNumber(kBand, Prop::Width);
    if (ScrolledOut(layer.readNumber(kBand, Prop::Left), width)) {
        layer.writeNumber(kBand, Prop::Left, services::screenWidth());
    }
}

void OnFlashTick() {
    constexpr ui::Color kYellow = 0x00FFFF;
    Layer& layer = Layer::instance();
    const auto current = static_cast<ui::Color>(layer.readNumber(kPanel, Prop::TextColor));
    layer.writeNumber(
        kPanel, Prop::TextColor,
        current == CountdownSettings.textColor ? kYellow : CountdownSettings.textColor);
}

}  // namespace fc::display
