// The main window's two descriptions, the loader's kind table and the loading
// routine's start-up state.
#include "MainFrmFixture.h"
#include "TestSupport.h"
#include "app/FittedLabel.h"
#include "app/MainFrm.h"
#include "app/WindowDescription.h"
#include "app/WindowLoader.h"
#include "controls/C_Button.h"
#include "controls/C_ComboBox.h"
#include "controls/C_FlagBar.h"
#include "controls/C_Option.h"
#include "controls/C_OptionEx.h"
#include "controls/C_ScrollBar.h"
#include "link/LinkTexts.h"
#include "platform/VirtualRuntime.h"
#include "platform/VirtualSerial.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScrollBar>
#include <QSet>
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

using namespace sonmira;
using app::MainFrm;

namespace {

const link::Skin kSkins[] = {link::Skin::Big, link::Skin::Small};

app::WindowDescription describe(link::Skin skin) {
    QString error;
    auto d = app::readWindowDescription(MainFrm::descriptionPath(skin), &error);
    EXPECT_TRUE(d.has_value()) << error.toStdString();
    return d.value_or(app::WindowDescription{});
}

// What a widget draws, on a transparent ground.
QImage drawn(QWidget& w) {
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The first and last pixel columns that hold ink; -1 and -1 when none do.
std::pair<int, int> inkColumns(const QImage& image) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qAlpha(image.pixel(x, y)) != 0) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

app::ControlRecord& stored(app::WindowDescription& d, const char* name, int index = -1) {
    for (auto& c : d.controls)
        if (c.name == QLatin1String(name) && c.index == index) return c;
    throw std::runtime_error(name);
}

class WindowTest : public test::MainFrmFixture {
protected:
    std::unique_ptr<MainFrm> open(link::Skin skin) { return std::make_unique<MainFrm>(services(), skin); }
};

TEST_F(WindowTest, BothSkinsHoldTheSame128ControlsUnderTheSameNamesAndKinds) {
    QSet<QString> names[2];
    for (int s = 0; s < 2; ++s) {
        const auto d = describe(kSkins[s]);
        EXPECT_EQ(d.controls.size(), 128u);
        for (const auto& c : d.controls) names[s].insert(c.kind + QLatin1Char(' ') + c.displayName());
        auto w = open(kSkins[s]);
        EXPECT_EQ(w->loaded().count(), 128);
        EXPECT_EQ(w->findChildren<controls::C_ScrollBar*>().size(), 46);
        EXPECT_EQ(w->findChildren<controls::C_OptionEx*>().size(), 17);
        // A timer has its record and no widget.
        ASSERT_NE(w->loaded().record(QStringLiteral("Timer1")), nullptr);
        EXPECT_EQ(w->loaded().find(QStringLiteral("Timer1")), nullptr);
    }
    EXPECT_EQ(names[0], names[1]);
}

TEST_F(WindowTest, BothSkinsCarryTheSameIconAtEverySizeTheDesktopAsksFor) {
    for (const link::Skin skin : kSkins) {
        auto w = open(skin);
        EXPECT_EQ(w->description().window.icon, QStringLiteral(":/windows/icon.svg"));
        const QIcon icon = w->windowIcon();
        const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
        EXPECT_EQ(icon.availableSizes(), sizes);
        // Drawn, not blank.
        const QImage small = icon.pixmap(16, 16).toImage();
        EXPECT_NE(small.pixelColor(8, 8).alpha(), 0);
    }
}

// Left, Top, Width, Height in twips and where the widget stands in pixels.
struct Spot {
    const char* name;
    int index;
    QRect big, small;
};

TEST_F(WindowTest, ControlsStandWhereTheDescriptionPutsThem) {
    const Spot spots[] = {
        {"C_ComboBox2", -1, {2580, 3260, 1050, 285}, {2220, 2752, 1050, 240}},
        {"C_ScrollBar4", 0, {11040, 1320, 1095, 1665}, {10980, 1020, 1065, 1500}},
        {"C_OptionEx1", 10, {10080, 8460, 540, 330}, {9630, 6990, 540, 330}},
        {"C_OptionEx2", 2, {3840, 8955, 660, 330}, {3420, 7425, 660, 330}},
        {"C_OptionEx3", 0, {8520, 8940, 795, 450}, {7920, 7425, 795, 450}},
        {"C_Button1", 3, {12660, 9045, 945, 390}, {12510, 7380, 945, 390}},
        {"C_ProgressBar1", -1, {0, 9720, 11070, 375}, {0, 8100, 11370, 345}},
        {"Label5", -1, {11220, 240, 2595, 495}, {11550, 210, 2595, 495}},
        {"Label2", 2, {12945, 6120, 975, 255}, {12780, 5100, 975, 255}},
        {"Label1", 7, {12495, 7005, 975, 255}, {12345, 5745, 975, 255}},
        {"Text1", 5, {12930, 5040, 520, 270}, {12780, 4140, 520, 270}},
        {"VScroll1", 6, {13480, 6440, 200, 280}, {13330, 5325, 200, 280}},
        {"Picture6", -1, {560, 1280, 6315, 215}, {560, 1280, 9975, 215}},
    };
    for (const link::Skin skin : kSkins) {
        auto w = open(skin);
        for (const Spot& s : spots) {
            const QString name = QLatin1String(s.name);
            const auto* r = w->loaded().record(name, s.index);
            ASSERT_NE(r, nullptr) << s.name << " " << s.index;
            const QRect want = skin == link::Skin::Big ? s.big : s.small;
            EXPECT_EQ(r->twips, want) << s.name << "(" << s.index << ")";
            // The picture options take the size of their face; the rest keep theirs.
            const QWidget* c = w->loaded().find(name, s.index);
            if (!qobject_cast<const controls::C_OptionEx*>(c))
                EXPECT_EQ(c->geometry(), app::twipsToPixels(want)) << s.name << "(" << s.index << ")";
            else
                EXPECT_EQ(c->pos(), app::twipsToPixels(want).topLeft()) << s.name << "(" << s.index << ")";
        }
    }
}

// The status label's font is not installed here: a fallback of the same
// script, condensed where the text is still too wide, keeps every status text
// whole inside the label, with its sides clear.
TEST_F(WindowTest, EveryStatusTextFitsInsideTheStatusLabel) {
    for (const link::Skin skin : kSkins) {
        auto w = open(skin);
        auto* label = w->loaded().require<QLabel>(QStringLiteral("Label4"));
        const auto& t = link::LinkTexts::of(skin);
        for (const QString& text : {t.notConnected, t.connected, t.typeMismatch}) {
            w->setStatusText(text);
            const auto [first, last] = inkColumns(drawn(*label));
            EXPECT_GE(first, 1) << text.toStdString();
            EXPECT_LE(last, label->width() - 2) << text.toStdString();
        }
    }
}

// Every label of the description is a fitted label, in any alignment it
// allows. A text that fits is drawn as a plain label draws it, ink crossing
// the label's own edge and all; a text too wide is condensed just enough to
// keep its ink inside, so it still spans nearly the whole label.
TEST(FittedLabel, DrawsWhatFitsAsAPlainLabelAndCondensesTheRestJustEnough) {
    test::ensureApp();
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9);
    const QSize size(120, 20);
    for (const Qt::Alignment a : {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight}) {
        auto make = [&](QLabel& l, const char* text) {
            l.setText(QLatin1String(text));
            l.setFont(arial);
            l.setAlignment(a | Qt::AlignTop);
            l.resize(size);
        };
        for (const char* text : {"Auto", "-10", "Wolf", "jump"}) {
            app::FittedLabel fitted;
            QLabel plain;
            make(fitted, text);
            make(plain, text);
            EXPECT_EQ(drawn(fitted), drawn(plain)) << text << " aligned " << a;
        }
        app::FittedLabel wide;
        make(wide, "Successful connection, twice");
        ASSERT_GT(QFontMetrics(arial).horizontalAdvance(wide.text()), size.width());
        // The side the alignment keeps stays where a plain label puts it.
        const auto [first, last] = inkColumns(drawn(wide));
        EXPECT_GE(first, a == Qt::AlignLeft ? 0 : 1) << " aligned " << a;
        EXPECT_LE(last, size.width() - (a == Qt::AlignRight ? 1 : 2)) << " aligned " << a;
        EXPECT_GE(last - first + 1, size.width() - 5) << " aligned " << a;
    }
}

// A stored font that is not installed gives way to the font the system's
// configuration prefers for the stored script's language, not to the first
// installed font of that script by name. Installed fonts and aliases such as
// Arial's are kept.
TEST(WindowFonts, AMissingFontGivesWayToTheSystemsChoiceForItsLanguage) {
    test::ensureApp();
    QProcess fcMatch;
    fcMatch.start(QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{family[0]}"), QStringLiteral(":lang=zh-cn")});
    ASSERT_TRUE(fcMatch.waitForFinished());
    const QString preferred = QString::fromUtf8(fcMatch.readAllStandardOutput());
    ASSERT_NE(preferred, QFontDatabase::families(QFontDatabase::SimplifiedChinese).value(0))
        << "needs a Chinese font that sorts before the preferred one";
    const QFont status = app::WindowLoader::font({QStringLiteral(u"幼圆"), 14.25, false, 134});
    EXPECT_EQ(QFontInfo(status).family(), preferred);
    EXPECT_EQ(status.pointSizeF(), 14.25);
    const QFont arial = app::WindowLoader::font({QStringLiteral("Arial"), 9, true, 0});
    EXPECT_EQ(QFontInfo(arial).family(), QStringLiteral("Liberation Sans"));
    const QFont installed = app::WindowLoader::font({QStringLiteral("WenQuanYi Micro Hei"), 9, false, 134});
    EXPECT_EQ(QFontInfo(installed).family(), QStringLiteral("WenQuanYi Micro Hei"));
}

TEST_F(WindowTest, StoredSettingsReachTheControls) {
    for (const link::Skin skin : kSkins) {
        const bool big = skin == link::Skin::Big;
        auto w = open(skin);
        const auto& L = w->loaded();
        auto* button = L.get<controls::C_Button>(QStringLiteral("C_Button1"), 1);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Caption(), big ? QStringLiteral("Upload") : QStringLiteral(u"上传"));
        auto* option = L.get<controls::C_Option>(QStringLiteral("C_Option1"), 0);
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(option->Caption(), big ? QStringLiteral("Balanced") : QStringLiteral(u"均衡"));
        EXPECT_TRUE(option->Value());
        EXPECT_TRUE(L.find(QStringLiteral("C_Option1"), 2)->isHidden());
        EXPECT_EQ(L.get<QLabel>(QStringLiteral("Label1"), 4)->text(),
                  big ? QStringLiteral(" Max") : QStringLiteral(u"最大"));
        EXPECT_EQ(L.get<QLabel>(QStringLiteral("Label5"))->text(),
                  big ? QStringLiteral("         ") : QStringLiteral("TSR-515GN"));
        EXPECT_EQ(L.get<controls::C_ComboBox>(QStringLiteral("C_ComboBox3"))->ShowSize(), !big);
        for (int i = 0; i < 11; ++i) {
            auto* key = L.get<controls::C_OptionEx>(QStringLiteral("C_OptionEx1"), i);
            EXPECT_EQ(key->ButtonIndex(), i);
            EXPECT_EQ(key->Value(), i == 5);
        }
        const int input[] = {11, 13, 12};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(L.get<controls::C_OptionEx>(QStringLiteral("C_OptionEx2"), i)->ButtonIndex(), input[i]);
        EXPECT_TRUE(L.get<controls::C_FlagBar>(QStringLiteral("C_FlagBar2"))->ValueInvert());
        EXPECT_FALSE(L.get<controls::C_FlagBar>(QStringLiteral("C_FlagBar3"))->ValueInvert());

        auto* rev = L.get<controls::C_ScrollBar>(QStringLiteral("C_ScrollBar2"), 3);
        EXPECT_EQ(rev->Tag(), QStringLiteral("199"));
        EXPECT_EQ(rev->MaxValue(), 80);
        EXPECT_EQ(rev->Title(), QStringLiteral("REV VOL"));
        EXPECT_EQ(rev->ShowSize(), big);
        EXPECT_EQ(rev->parentWidget(), L.find(QStringLiteral("Frame2")));
        auto* limit = L.get<controls::C_ScrollBar>(QStringLiteral("C_ScrollBar7"), 7);
        EXPECT_EQ(limit->ValueTipType(), 9);
        EXPECT_EQ(limit->width(), 1455 / 15);
        EXPECT_EQ(limit->parentWidget(), L.find(QStringLiteral("Frame1")));
        EXPECT_EQ(L.find(QStringLiteral("Label3"))->parentWidget(), L.find(QStringLiteral("Frame1")));
        EXPECT_TRUE(L.get<controls::C_ScrollBar>(QStringLiteral("C_ScrollBar4"), 1)->Tag().isEmpty());

        auto* mode = L.get<QLineEdit>(QStringLiteral("Text1"), 8);
        EXPECT_TRUE(mode->isReadOnly());
        EXPECT_EQ(L.get<QScrollBar>(QStringLiteral("VScroll1"), 8)->maximum(), 7);
        EXPECT_EQ(L.get<QScrollBar>(QStringLiteral("VScroll1"), 5)->maximum(), 5);
    }
}

// Each column's control carries what the settings model expects of it, in
// both skins; only the fader height differs.
TEST_F(WindowTest, EveryParameterControlCarriesItsColumnsAddressAndRange) {
    for (const link::Skin skin : kSkins) {
        const bool big = skin == link::Skin::Big;
        auto w = open(skin);
        for (const settings::PresetArray a : settings::AllPresetArrays)
            for (const settings::ColumnSpec& c : settings::columns(a)) {
                const QString name = QLatin1String(c.control);
                const auto* r = w->loaded().record(name, c.controlIndex);
                ASSERT_NE(r, nullptr) << c.control << "(" << c.controlIndex << ")";
                EXPECT_EQ(r->tag, QString::number(c.addr)) << c.control << "(" << c.controlIndex << ")";
                if (c.isSwitch()) continue;
                auto* f = w->loaded().get<controls::C_ScrollBar>(name, c.controlIndex);
                ASSERT_NE(f, nullptr);
                EXPECT_EQ(f->Title(), QLatin1String(c.title)) << c.control << "(" << c.controlIndex << ")";
                EXPECT_EQ(f->MaxValue(), c.maxValue) << c.control << "(" << c.controlIndex << ")";
                EXPECT_EQ(f->ValueTipType(), c.valueTipType) << c.control << "(" << c.controlIndex << ")";
                EXPECT_EQ(f->ShowSize(), big);
                EXPECT_EQ(r->twips.height(), big ? 1665 : 1500);
            }
    }
}

TEST_F(WindowTest, TimersKeepTheDesignValuesTheLinkRunsWith) {
    auto w = open(link::Skin::Big);
    struct {
        const char* name;
        platform::Timer& timer;
    } timers[] = {{"CommConnect", w->link().commConnect()}, {"Timer4", w->link().timer4()},
                  {"Timer3", w->link().timer3()},           {"Timer2", w->link().timer2()},
                  {"TimeOuter", w->link().timeOuter()}};
    for (const auto& t : timers) {
        const auto* r = w->loaded().record(QLatin1String(t.name));
        ASSERT_NE(r, nullptr) << t.name;
        EXPECT_EQ(r->kind, QStringLiteral("Timer"));
        EXPECT_EQ(r->interval, t.timer.interval()) << t.name;
        EXPECT_EQ(r->enabled, t.timer.enabled()) << t.name;
    }
}

// An edit of the description alone must change what the window runs with.
TEST_F(WindowTest, AnEditedDescriptionsTimersKeyPreviewAndBoxLimitsAreWhatTheWindowRuns) {
    auto d = describe(link::Skin::Big);
    stored(d, "CommConnect").interval = 250;
    stored(d, "Timer2").interval = 20;
    stored(d, "Timer3").interval = 3000;
    stored(d, "Timer4").interval = 2500;
    stored(d, "TimeOuter").interval = 1200;
    stored(d, "Timer1").interval = 600;
    stored(d, "Text1", 7).maxLength = 3;
    d.window.keyPreview = false;
    MainFrm w(services(), link::Skin::Big, d);
    EXPECT_EQ(w.link().commConnect().interval(), 250);
    EXPECT_EQ(w.link().timer2().interval(), 20);
    EXPECT_EQ(w.link().timer3().interval(), 3000);
    EXPECT_EQ(w.link().timer4().interval(), 2500);
    EXPECT_EQ(w.link().timeOuter().interval(), 1200);
    w.Form_Load();

    // The key row springs back after the stored 600 ms, not 300.
    auto keyLit = [&](int i) { return w.loaded().get<controls::C_OptionEx>(QStringLiteral("C_OptionEx1"), i)->Value(); };
    w.switches().C_OptionEx1_Click(2);
    rt.advance(590);
    EXPECT_TRUE(keyLit(2));
    rt.advance(20);
    EXPECT_TRUE(keyLit(5));

    // Without key preview a key typed into a box no longer reaches the window.
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
    QCoreApplication::sendEvent(w.loaded().require<QLineEdit>(QStringLiteral("Text1"), 0), &typed);
    EXPECT_EQ(w.trafficLogWindow(), nullptr);

    // The effect Max box takes the third digit its stored limit leaves room for.
    auto* effectMax = w.loaded().require<QLineEdit>(QStringLiteral("Text1"), 7);
    effectMax->selectAll();
    for (const char* digit : {"1", "2", "3", "4"}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QLatin1String(digit));
        QCoreApplication::sendEvent(effectMax, &key);
    }
    EXPECT_EQ(effectMax->text(), QStringLiteral("123"));
}

// Every timer the window runs needs its record and an interval of 1 to 65535 ms.
TEST_F(WindowTest, AMissingTimerOrOneOutOfRangeIsRefusedByName) {
    for (const std::optional<int> interval : {std::optional<int>(), std::optional<int>(0), std::optional<int>(65536)}) {
        auto d = describe(link::Skin::Big);
        if (interval) stored(d, "Timer3").interval = *interval;
        else std::erase_if(d.controls, [](const app::ControlRecord& c) { return c.name == QLatin1String("Timer3"); });
        try {
            MainFrm w(services(), link::Skin::Big, d);
            ADD_FAILURE() << "accepted " << interval.value_or(-1);
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QLatin1String("Timer3"))) << e.what();
        }
    }
}

// --- faulty descriptions ---------------------------------------------------------

QByteArray withControls(const char* controlsJson) {
    return QByteArray(R"({"window": {"name": "W", "clientWidth": 1500, "clientHeight": 1500}, "controls": [)") +
           controlsJson + "]}";
}

TEST_F(WindowTest, AnUnknownKindIsRefusedAndNothingIsBuilt) {
    QString error;
    const auto d = app::parseWindowDescription(
        withControls(R"({"kind": "Label", "name": "A", "caption": "x"}, {"kind": "Knob", "name": "K", "index": 2})"),
        &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    QWidget window;
    const auto loaded = app::WindowLoader::load(*d, window, &error);
    EXPECT_FALSE(loaded.has_value());
    EXPECT_EQ(error, QStringLiteral("K(2): unknown control kind \"Knob\" in the description of W"));
    EXPECT_TRUE(window.children().isEmpty());
}

TEST_F(WindowTest, WindowCodeFindsControlsByNameIndexAndKind) {
    QString error;
    const auto d = app::parseWindowDescription(
        withControls(R"({"kind": "Frame", "name": "F"}, {"kind": "Label", "name": "A", "index": 3, "container": "F",
                         "left": 150, "top": 300, "width": 600, "height": 240, "caption": "x"})"),
        &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    QWidget window;
    const auto loaded = app::WindowLoader::load(*d, window, &error);
    ASSERT_TRUE(loaded.has_value()) << error.toStdString();
    auto* label = loaded->require<QLabel>(QStringLiteral("A"), 3);
    EXPECT_EQ(label->parentWidget(), loaded->find(QStringLiteral("F")));
    EXPECT_EQ(label->geometry(), QRect(10, 20, 40, 16));
    EXPECT_EQ(loaded->find(QStringLiteral("A")), nullptr); // an array member needs its index
    try {
        loaded->require<QLineEdit>(QStringLiteral("A"), 3);
        ADD_FAILURE() << "a label passed as a text box";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "The window description has no A(3) of the kind the window needs.");
    }
    EXPECT_THROW(loaded->require(QStringLiteral("B")), std::runtime_error);
}

TEST_F(WindowTest, AMalformedDescriptionIsRefusedWithItsReason) {
    const struct {
        QByteArray json;
        const char* reason;
    } cases[] = {
        {"{\"window\": ", "not JSON"},
        {"[1]", "not a JSON object"},
        {withControls(R"({"kind": "Label"})"), "control 0: \"name\" must be a text"},
        {withControls(R"({"kind": "Label", "name": "A", "left": "ten"})"), "A: \"left\" must be a whole number"},
        {withControls(R"({"kind": "Label", "name": "A", "left": 1.5})"), "A: \"left\" must be a whole number"},
        {withControls(R"({"kind": "Label", "name": "A", "foreColor": "#ffffff"})"),
         "A: \"foreColor\" must be a colour"},
        {withControls(R"({"name": "A"})"), "A: \"kind\" must be a text"},
        {withControls(R"({"kind": "Label", "name": "A", "index": 1}, {"kind": "Label", "name": "A", "index": 1})"),
         "A(1): appears twice"},
        {withControls(R"({"kind": "Label", "name": "A", "container": "F"})"), "A: its container \"F\""},
        {withControls(R"({"kind": "C_Button", "name": "B", "properties": {"caption": [1]}})"),
         "B: property \"caption\""},
        {withControls(R"({"kind": "Label", "name": "A", "width": -15})"), "A: a negative size"},
        {withControls(R"({"kind": "Label", "name": "A", "index": -2})"), "\"index\" must be 0 or more"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(app::parseWindowDescription(c.json, &error).has_value()) << c.reason;
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString() << " / " << c.reason;
    }
    QString error;
    EXPECT_FALSE(app::readWindowDescription(QStringLiteral(":/windows/none.json"), &error).has_value());
    EXPECT_TRUE(error.startsWith(QStringLiteral(":/windows/none.json: cannot be read")));
}

TEST(WindowColours, ParsedAsBlueGreenRed) {
    EXPECT_EQ(app::parseColour(QStringLiteral("&H71DDC0")), 0x71DDC0u);
    EXPECT_EQ(app::parseColour(QStringLiteral("&h80ffff")), 0x80FFFFu);
    EXPECT_EQ(app::parseColour(QStringLiteral("&H8000000F")), 0x00000Fu);
    EXPECT_FALSE(app::parseColour(QStringLiteral("&H")));
    EXPECT_FALSE(app::parseColour(QStringLiteral("71DDC0")));
    EXPECT_FALSE(app::parseColour(QStringLiteral("&HXYZ")));
}

// --- the loading routine -------------------------------------------------------------

TEST_F(WindowTest, LoadingCopiesEveryCellAddressFromTheControlThatShowsIt) {
    auto w = open(link::Skin::Big);
    // A Tag changed before loading shows that the address comes from the control.
    w->loaded().get<controls::C_ScrollBar>(QStringLiteral("C_ScrollBar3"), 4)->setTag(QStringLiteral("11"));
    // A Tag that is no byte keeps the column table's address.
    w->loaded().get<controls::C_ScrollBar>(QStringLiteral("C_ScrollBar2"), 0)->setTag(QStringLiteral("256"));
    w->Form_Load();
    auto& m = w->model();
    for (const settings::PresetArray a : settings::AllPresetArrays)
        for (int row = 0; row < settings::rowCount(a); ++row)
            for (int col = 0; col < settings::columnCount(a); ++col) {
                const int want = (a == settings::PresetArray::Ktv && col == 4) ? 11 : settings::column(a, col).addr;
                EXPECT_EQ(m.cell(a, row, col).Addr, want) << int(a) << " " << row << " " << col;
            }
    const int music[] = {0, 1, 2, 3, 4, 5, 6, 29, 17, 18, 24, 23, 22, 27, 25, 26, 21, 28};
    for (int col = 0; col < settings::MusicColumns; ++col) EXPECT_EQ(m.MusicParams[5][col].Addr, music[col]);
}

TEST_F(WindowTest, LoadingLeavesTheStartUpState) {
    for (const link::Skin skin : kSkins) {
        const bool big = skin == link::Skin::Big;
        log.CommLog = QStringLiteral("old text");
        auto w = open(skin);
        w->Form_Load();
        const auto& L = w->loaded();
        auto px = [](int twips) { return controls::twipsToPixels(twips); };

        for (int k = 0; k < 9; ++k)
            EXPECT_EQ(L.find(QStringLiteral("C_ScrollBar1"), k)->pos(),
                      QPoint(px(k * 1100 + 380), px(big ? 3660 : 3046)));
        for (const auto* c : w->findChildren<controls::C_ScrollBar*>())
            EXPECT_EQ(c->TitleVisible(), c->objectName().startsWith(QStringLiteral("C_ScrollBar4(")))
                << c->objectName().toStdString();

        // The music panel's first sub-page and the KTV effect panel.
        const bool stripShown[] = {true, false, true, true, false, false};
        for (int n = 0; n < 6; ++n)
            EXPECT_EQ(L.find(QStringLiteral("Picture%1").arg(n + 1))->isHidden(), !stripShown[n]) << n;
        EXPECT_EQ(L.find(QStringLiteral("Picture1"))->pos(), QPoint(px(big ? 810 : 900), px(big ? 1280 : 1000)));
        EXPECT_EQ(L.find(QStringLiteral("Picture6"))->pos(), QPoint(px(560), px(1280)));
        for (const char* t : {"Text2", "Text3", "Text4"}) EXPECT_TRUE(L.find(QLatin1String(t))->isHidden());
        const QString header = L.get<QLineEdit>(QStringLiteral("Text3"))->text();
        EXPECT_EQ(header.size(), 112);
        EXPECT_TRUE(header.endsWith(QStringLiteral("   MIC LowCut")));
        EXPECT_EQ(L.find(QStringLiteral("Text4"))->pos(), QPoint(px(big ? 480 : 560), px(big ? 6090 : 5060)));

        auto* music = L.get<QFrame>(QStringLiteral("Frame1"));
        auto* effect = L.get<QFrame>(QStringLiteral("Frame2"));
        EXPECT_EQ(music->frameShape(), QFrame::NoFrame);
        EXPECT_EQ(music->geometry(),
                  QRect(px(big ? 300 : 380), px(big ? 1240 : 1000), px(10200), px(big ? 1780 : 1500)));
        EXPECT_EQ(effect->geometry(), QRect(QPoint(px(big ? 300 : 380), px(big ? 6030 : 5020)), music->size()));

        const char* first[] = {"MUSIC1", "MIC1", "KTV1"};
        for (int i = 0; i < 3; ++i) {
            auto* list = L.get<controls::C_ComboBox>(QStringLiteral("C_ComboBox%1").arg(i + 1));
            EXPECT_EQ(list->TopIndex(), 0);
            EXPECT_EQ(list->list()->count(), i < 2 ? 6 : 4);
            EXPECT_EQ(list->list()->item(0)->text(), QLatin1String(first[i]));
        }
        EXPECT_EQ(L.get<controls::C_ComboBox>(QStringLiteral("C_ComboBox3"))->list()->item(3)->text(),
                  QStringLiteral("EFF2"));
        EXPECT_EQ(w->model().MusicRow, 0);
        EXPECT_EQ(w->model().EffectCode, 0);

        // The factory defaults in the loaded volume column.
        EXPECT_EQ(L.get<QLineEdit>(QStringLiteral("Text1"), 3)->text(), QStringLiteral("30"));
        EXPECT_EQ(L.get<QLineEdit>(QStringLiteral("Text1"), 7)->text(), QStringLiteral("80"));
        EXPECT_EQ(L.get<QScrollBar>(QStringLiteral("VScroll1"), 6)->value(), 36);
        EXPECT_EQ(w->controls().levelFaderValue(2), 36);
        EXPECT_EQ(w->statusText(), big ? QStringLiteral("Not connected") : QStringLiteral(u"未连接"));
        EXPECT_EQ(log.CommLog, big ? QStringLiteral("Double-click the empty display can be stretched or wide...")
                                   : QStringLiteral(u"双击清空显示 , 可拉长或宽"));
        EXPECT_TRUE(w->link().commConnect().enabled());
    }
}

// The header boxes and strips are where the loading puts them, whatever the
// description stored: the skins differ in most of these places.
TEST_F(WindowTest, LoadingPlacesTheHeaderBoxesAndStripsOfEachSkin) {
    const struct {
        const char* name;
        QPoint big, small;
    } places[] = {
        {"Text2", {510, 1320}, {590, 1040}},    {"Text3", {420, 3660}, {420, 3046}},
        {"Text4", {480, 6090}, {560, 5060}},    {"Picture1", {810, 1280}, {900, 1000}},
        {"Picture2", {1540, 1260}, {1640, 1000}}, {"Picture3", {860, 3640}, {860, 3030}},
        {"Picture4", {550, 6080}, {600, 5040}}, {"Picture5", {600, 6040}, {700, 5020}},
        {"Picture6", {560, 1280}, {560, 1280}},
    };
    for (const link::Skin skin : kSkins) {
        auto w = open(skin);
        // Stored elsewhere, so that only the loading can put them right.
        for (const auto& p : places) w->loaded().find(QLatin1String(p.name))->move(1, 1);
        w->Form_Load();
        for (const auto& p : places) {
            const QPoint twips = skin == link::Skin::Big ? p.big : p.small;
            EXPECT_EQ(w->loaded().find(QLatin1String(p.name))->pos(),
                      QPoint(controls::twipsToPixels(twips.x()), controls::twipsToPixels(twips.y())))
                << p.name << (skin == link::Skin::Big ? " big" : " small");
        }
    }
}

TEST_F(WindowTest, BothSkinsRenderForAPersonToLookAt) {
    for (const link::Skin skin : kSkins) {
        auto w = open(skin);
        w->Form_Load();
        w->show();
        QCoreApplication::processEvents();
        // Every pixel of the client area is painted by the window or a control.
        QImage canvas(w->size(), QImage::Format_RGB32);
        const QRgb unpainted = qRgb(255, 0, 255);
        canvas.fill(unpainted);
        w->render(&canvas);
        int holes = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) holes += canvas.pixel(x, y) == unpainted;
        EXPECT_EQ(holes, 0);
        const QPixmap shot = w->grab();
        EXPECT_EQ(shot.size(), w->size());
        const QString file = test::outputDir() + (skin == link::Skin::Big ? QStringLiteral("/mainfrm_big.png")
                                                                          : QStringLiteral("/mainfrm_small.png"));
        EXPECT_TRUE(shot.save(file));
    }
}

} // namespace
