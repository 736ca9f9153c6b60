#include "settings/settingswindow.h"

#include "shell/state.h"
#include "ui/layer.h"

namespace fc::settings {
namespace {

using ui::Align;
using ui::ComponentDesign;

ComponentDesign label(const char16_t* name, QRect place, const char16_t* caption, Align h,
                      ui::Color text = 0x000000) {
    ui::LabelSettings s;
    s.caption = QString::fromUtf16(caption);
    s.hAlign = h;
    s.vAlign = Align::Center;
    s.textColor = text;
    s.backColor = ui::kDefaultColor;
    return {QString::fromUtf16(name), place, s, {}, true, true, false};
}

ComponentDesign edit(const char16_t* name, QRect place, Align align, bool integer, int maxBytes,
                     const char16_t* content = u"") {
    ui::EditBoxSettings s;
    s.content = QString::fromUtf16(content);
    s.align = align;
    s.integerOnly = integer;
    s.maxBytes = maxBytes;
    return {QString::fromUtf16(name), place, s, {}, true, true, true};
}

ComponentDesign picker(const char16_t* name, QRect place, ui::Color color) {
    ui::ColorPickerSettings s;
    s.color = color;
    s.allowTransparent = false;
    return {QString::fromUtf16(name), place, s, {}, true, true, true};
}

}  // namespace

ui::WindowDesign SettingsWindowDesign() {
    ui::WindowDesign w;
    w.title = QStringLiteral("VelmorTarquane程序-Ostrevin");
    w.border = ui::Border::Fixed;
    w.systemMenu = true;
    w.minimizeButton = true;
    w.maximizeButton = false;
    w.outerSize = QSize(387, 383);
    w.background = ui::kDefaultColor;
    w.escCloses = true;
    w.enterMovesFocus = false;

    ui::ComboBoxSettings modes;
    modes.entries = {QStringLiteral("活动标题居中不滚动"), QStringLiteral("活动标题滚动播放")};
    modes.selected = 0;
    ui::ButtonSettings ok;
    ok.caption = QStringLiteral("确定");
    ok.isDefault = false;

    // Stored order: Tab runs from the last focusable control to the first, so the
    // controls are stored in the reverse of their Tab order.
    w.components = {
        {QStringLiteral("组合框1"), QRect(200, 244, 152, 20), modes, {}, true, true, true},
        edit(u"编辑框5", QRect(128, 240, 56, 32), Align::Center, true, 0, u"73"),
        edit(u"编辑框4", QRect(128, 200, 224, 32), Align::Near, false, 0),
        picker(u"颜色选择器2", QRect(132, 157, 136, 24), 0x00000000),
        picker(u"颜色选择器1", QRect(132, 125, 136, 24), 0x000000FF),
        edit(u"编辑框3", QRect(128, 80, 40, 32), Align::Center, true, 2),
        edit(u"编辑框2", QRect(200, 40, 40, 32), Align::Center, true, 2),
        edit(u"编辑框1", QRect(128, 40, 40, 32), Align::Center, true, 0),
        {QStringLiteral("开始计时"), QRect(272, 286, 80, 40), ok, &OnStartClicked, true, true,
         true},
        label(u"标签1", QRect(52, 40, 72, 32), u"起始倒计时：", Align::Far),
        label(u"标签2", QRect(176, 40, 24, 32), u"分", Align::Near),
        label(u"标签3", QRect(248, 40, 24, 32), u"秒", Align::Near),
        label(u"标签4", QRect(88, 80, 40, 32), u"倒数：", Align::Far),
        label(u"标签5", QRect(176, 80, 112, 32), u"秒开始闪动提示", Align::Near),
        label(u"标签6", QRect(64, 120, 64, 32), u"文字颜色：", Align::Far),
        label(u"标签7", QRect(64, 152, 64, 32), u"背景颜色：", Align::Far),
        label(u"标签8", QRect(64, 200, 64, 32), u"活动名称：", Align::Far),
        label(u"标签9", QRect(32, 240, 96, 32), u"活动文字大小：", Align::Far),
        label(u"标签10", QRect(80, 296, 152, 24), u"F2 开始  F3重置  ESC退出", Align::Near,
              0x00FF0000),
    };
    return w;
}

void RegisterSettingsWindow() {
    ui::Layer::instance().setDesign(shell::kSettingsWindow, SettingsWindowDesign());
}

void OnStartClicked() {
    // The result of the load is of no use here: it returns once the display is gone.
    ui::Layer::instance().load(shell::kDisplayWindow, true);
}

}  // namespace fc::settings
