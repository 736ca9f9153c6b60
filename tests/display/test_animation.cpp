// Title scroll and time flash on the real labels of a 1920x1080 display.
#include "display/display.h"
#include "services/keystate.h"
#include "shell/programmain.h"
#include "shell/state.h"
#include "ui/colorpicker.h"
#include "ui/layer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <set>

using namespace fc;
using ui::Layer;
using ui::Prop;
using ui::Ref;

namespace {

const Ref kBand{shell::kDisplayWindow, QStringLiteral("标签1")};
const Ref kPanel{shell::kDisplayWindow, QStringLiteral("标签2")};
const Ref kScrollTimer{shell::kDisplayWindow, QStringLiteral("时钟1")};
const Ref kFlashTimer{shell::kDisplayWindow, QStringLiteral("时钟3")};
constexpr ui::Color kYellow = 0x00FFFF;

class ScriptedKeys final : public services::KeyState {
public:
    std::uint32_t query(int vk) override { return held.count(vk) != 0 ? 1u : 0u; }
    std::set<int> held;
};

QWidget* setting(const char16_t* name) {
    return Layer::instance().widget({shell::kSettingsWindow, QString::fromUtf16(name)});
}

void openDisplay(const QString& title, const QString& size, bool scrolling,
                 ui::Color text = 0x0000FF) {
    Layer& layer = Layer::instance();
    if (layer.exists(shell::kDisplayWindow)) {
        layer.destroy(shell::kDisplayWindow);
        QTRY_VERIFY(!layer.exists(shell::kDisplayWindow));
    }
    static_cast<QLineEdit*>(setting(u"编辑框4"))->setText(title);
    static_cast<QLineEdit*>(setting(u"编辑框5"))->setText(size);
    static_cast<QComboBox*>(setting(u"组合框1"))->setCurrentIndex(scrolling ? 1 : 0);
    static_cast<ui::ColorPicker*>(setting(u"颜色选择器1"))->setColor(text);
    QVERIFY(layer.load(shell::kDisplayWindow, false));
    // The ticks are driven by hand here.
    layer.writeNumber(kScrollTimer, Prop::Period, 0);
}

}  // namespace

class AnimationTest : public QObject {
    Q_OBJECT
    ScriptedKeys* keys_ = nullptr;

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1920, 1080));
        shell::PrepareWindows();
        auto keys = std::make_unique<ScriptedKeys>();
        keys_ = keys.get();
        services::setKeyState(std::move(keys));
        Layer::instance().load(shell::kSettingsWindow, false);
    }

    void onePassOfTheBand_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("width");
        QTest::newRow("four characters at 73") << "年度大会"
                                               << "73" << 584;
        QTest::newRow("empty title") << ""
                                     << "73" << 0;
        QTest::newRow("size 0") << "年度大会"
                                << "0" << 0;
    }
    void onePassOfTheBand() {
        QFETCH(QString, title);
        QFETCH(QString, size);
        QFETCH(int, width);
        openDisplay(title, size, true);
        Layer& layer = Layer::instance();
        QCOMPARE(layer.readNumber(kBand, Prop::Width), width);
        QCOMPARE(layer.readNumber(kBand, Prop::Left), 1920);
        QWidget* band = layer.widget(kBand);
        const int ticks = 1920 + width;
        for (int i = 1; i < ticks; ++i) {
            display::OnScrollTick();
            if (band->x() != 1920 - i)
                QFAIL(qPrintable(QStringLiteral("tick %1 at %2").arg(i).arg(band->x())));
        }
        QCOMPARE(band->x(), -width + 1);
        display::OnScrollTick();  // would reach -width: back to the right edge
        QCOMPARE(band->x(), 1920);
        QCOMPARE(band->y(), 4);
        display::OnScrollTick();
        QCOMPARE(band->x(), 1919);
    }

    void theBandMovesWithoutRedrawingItsText() {
        openDisplay("年度大会", "73", true);
        QWidget* band = Layer::instance().widget(kBand);
        for (int i = 0; i < 600; ++i) display::OnScrollTick();
        const QImage before = band->grab().toImage();
        display::OnScrollTick();
        // The band's own picture is the same at its new place: it moved as a whole.
        QCOMPARE(band->grab().toImage(), before);
        QCOMPARE(band->x(), 1920 - 601);
    }

    void flashAlternates_data() {
        QTest::addColumn<quint32>("text");
        QTest::addColumn<QList<quint32>>("sequence");
        QTest::newRow("blue") << quint32(0xFF0000)
                              << QList<quint32>{kYellow, 0xFF0000, kYellow, 0xFF0000};
        QTest::newRow("yellow never visibly flashes")
            << quint32(kYellow) << QList<quint32>{kYellow, kYellow, kYellow};
        QTest::newRow("red") << quint32(0x0000FF) << QList<quint32>{kYellow, 0x0000FF};
    }
    void flashAlternates() {
        QFETCH(quint32, text);
        QFETCH(QList<quint32>, sequence);
        openDisplay("t", "73", false, text);
        QCOMPARE(quint32(Layer::instance().readNumber(kPanel, Prop::TextColor)), text);
        for (quint32 expected : sequence) {
            display::OnFlashTick();
            QCOMPARE(quint32(Layer::instance().readNumber(kPanel, Prop::TextColor)), expected);
        }
    }

    void resetStopsTheFlashAndRestoresTheColour() {
        openDisplay("t", "73", false, 0xFF0000);
        Layer& layer = Layer::instance();
        layer.writeNumber(kFlashTimer, Prop::Period, 500);
        display::OnFlashTick();
        QCOMPARE(quint32(layer.readNumber(kPanel, Prop::TextColor)), quint32(kYellow));
        keys_->held = {services::vk::F3};
        display::OnKeyPollTick();
        keys_->held.clear();
        QCOMPARE(layer.readNumber(kFlashTimer, Prop::Period), 0);
        QCOMPARE(quint32(layer.readNumber(kPanel, Prop::TextColor)), quint32(0xFF0000));
    }

    void flashTicksComeFromTheTimer() {
        openDisplay("t", "73", false, 0xFF0000);
        Layer& layer = Layer::instance();
        layer.writeNumber(kFlashTimer, Prop::Period, 20);
        QTRY_COMPARE(quint32(layer.readNumber(kPanel, Prop::TextColor)), quint32(kYellow));
        QTRY_COMPARE(quint32(layer.readNumber(kPanel, Prop::TextColor)), quint32(0xFF0000));
        layer.writeNumber(kFlashTimer, Prop::Period, 0);
    }

    void cleanupTestCase() {
        Layer& layer = Layer::instance();
        if (layer.exists(shell::kDisplayWindow)) layer.destroy(shell::kDisplayWindow);
        QTRY_VERIFY(!layer.exists(shell::kDisplayWindow));
    }
};

QTEST_MAIN(AnimationTest)
#include "test_animation.moc"
