#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

#include "AboutBox.h"
#include "DialogDriver.h"
#include "LinkLabel.h"
#include "MainWindowFixture.h"
#include "WindowInput.h"

using namespace Qt::StringLiterals;

namespace {

const QColor kText(0x66, 0x66, 0xCC);
const QColor kLink(0x33, 0x99, 0xFF);
const QColor kHover(0xFF, 0x66, 0x66);

QColor TextColour(const QWidget* label) {
    return label->palette().color(QPalette::WindowText);
}

class AboutBoxTest : public MainWindowFixture {
  public:
    void SetUp() override {
        MainWindowFixture::SetUp();
        Start();
        Fill({{u"A"_s, u"B"_s}, {u"a"_s, u"b"_s}});
        window<AboutBox>()->setLinkOpener([this](const QUrl& target) { opened.append(target); });
    }
    void Open() {
        action("aboutAction")->trigger();
        ASSERT_TRUE(window<AboutBox>()->isVisible());
    }
    QLabel* LabelOf(const QString& text) const {
        for (QLabel* label : window<AboutBox>()->findChildren<QLabel*>()) {
            if (label->text() == text) {
                return label;
            }
        }
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    QLabel* Move() const { return window<AboutBox>()->findChild<QLabel*>(u"dotsLabel"_s); }
    QTimer* Timer() const { return window<AboutBox>()->findChild<QTimer*>(u"dotsTimer"_s); }
    // Waits for the next tick of the dots; their text then.
    QString NextMove() const {
        const QString before = Move()->text();
        EXPECT_TRUE(WaitUntil([&] { return Move()->text() != before; }, 3000)) << "no tick";
        return Move()->text();
    }

    QList<QUrl> opened;
};

TEST_F(AboutBoxTest, ShowsTheVersionAndTheCreditsInTheBoxColours) {
    Open();
    EXPECT_EQ(QApplication::activeModalWidget(), window<AboutBox>());
    EXPECT_TRUE(window<AboutBox>()->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window<AboutBox>()->windowTitle(), u"バージョン情報"_s);
    EXPECT_EQ(window<AboutBox>()->size(), QSize(382, 219));
    EXPECT_EQ(window<AboutBox>()->palette().color(QPalette::Window), QColor(Qt::white));

    QLabel* version = LabelOf(u"Tabulon ver"_s + QString::fromLatin1(TABULON_VERSION));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->font().pixelSize(), 13);
    EXPECT_TRUE(version->font().bold());
    EXPECT_EQ(TextColour(version), kText);

    const QLabel* condition = LabelOf(u"ApplicationCondition :"_s);
    ASSERT_NE(condition, nullptr);
    EXPECT_EQ(TextColour(condition), QColor(0x80, 0x80, 0x80));
    EXPECT_TRUE(condition->font().bold());
    const QLabel* running = LabelOf(u"Running"_s);
    ASSERT_NE(running, nullptr);
    EXPECT_TRUE(running->alignment().testFlag(Qt::AlignRight));
    EXPECT_EQ(Move()->geometry().left(), running->geometry().right() + 1);
    EXPECT_TRUE(LabelOf(u"SpecialThanks :"_s)->font().bold());

    int links = 0;
    for (const QLabel* label : window<AboutBox>()->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_EQ(label->font().family(), u"ＭＳ Ｐゴシック"_s);
        EXPECT_EQ(label->cursor().shape(), Qt::CrossCursor);
        if (qobject_cast<const LinkLabel*>(label) != nullptr) {
            ++links;
            EXPECT_EQ(TextColour(label), kLink);
            EXPECT_TRUE(label->font().underline());
        } else if (label != condition) {
            EXPECT_EQ(TextColour(label), kText);
            EXPECT_FALSE(label->font().underline());
        }
        if (label != version) {
            EXPECT_EQ(label->font().pixelSize(), 12);
        }
    }
    EXPECT_EQ(links, 6);
    EXPECT_EQ(window<AboutBox>()->cursor().shape(), Qt::CrossCursor);
}

TEST_F(AboutBoxTest, TheIconIsTheProgramsCard) {
    Open();
    QWidget* icon = Child<QWidget>(window<AboutBox>(), "iconImage");
    ASSERT_EQ(icon->size(), QSize(32, 32));
    const QImage image = icon->grab().toImage();
    // Half the scale of the 64-unit drawing: the title band, the paper, the marker.
    EXPECT_EQ(image.pixelColor(16, 6), QColor(0x5b, 0x6f, 0x8f));
    EXPECT_EQ(image.pixelColor(22, 11), QColor(0xfd, 0xfa, 0xf0));
    EXPECT_EQ(image.pixelColor(7, 16), QColor(0xd9, 0x53, 0x4f));
}

TEST_F(AboutBoxTest, AClickAnywhereButOnALinkClosesTheBox) {
    const struct {
        const char* what;
        std::function<QWidget*(AboutBoxTest&)> target;
        QPoint at;  // in the target; the centre when null
    } cases[] = {
        {"background",
         [](AboutBoxTest&) { return static_cast<QWidget*>(window<AboutBox>()); },
         {4, 120}},
        {"icon", [](AboutBoxTest&) { return Child<QWidget>(window<AboutBox>(), "iconImage"); }, {}},
        {"picture",
         [](AboutBoxTest&) { return Child<QWidget>(window<AboutBox>(), "cardStackImage"); },
         {200, 20}},
        {"version",
         [](AboutBoxTest& t) -> QWidget* {
             return t.LabelOf(u"Tabulon ver"_s + QString::fromLatin1(TABULON_VERSION));
         },
         {}},
        {"credits heading",
         [](AboutBoxTest& t) -> QWidget* { return t.LabelOf(u"SpecialThanks :"_s); },
         {}},
        {"a credited name", [](AboutBoxTest& t) -> QWidget* { return t.LabelOf(u"ICU"_s); }, {}},
        {"condition heading",
         [](AboutBoxTest& t) -> QWidget* { return t.LabelOf(u"ApplicationCondition :"_s); },
         {}},
        {"conditionLabel", [](AboutBoxTest& t) -> QWidget* { return t.LabelOf(u"Running"_s); }, {}},
        {"dotsLabel", [](AboutBoxTest& t) -> QWidget* { return t.Move(); }, {}},
        {"notice",
         [](AboutBoxTest&) -> QWidget* { return Child<QLabel>(window<AboutBox>(), "noticeLabel"); },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        QWidget* target = c.target(*this);
        ASSERT_NE(target, nullptr);
        const QPoint at = c.at.isNull() ? target->rect().center() : c.at;
        if (target != window<AboutBox>()) {
            EXPECT_EQ(window<AboutBox>()->childAt(target->mapTo(window<AboutBox>(), at)), target);
        } else {
            EXPECT_EQ(window<AboutBox>()->childAt(at), nullptr);
        }
        // Only the left button clicks.
        ClickInWindow(target, at, Qt::RightButton);
        EXPECT_TRUE(window<AboutBox>()->isVisible());
        // While the box is open the table cannot be reached.
        ClickGridCell(2, 2);
        EXPECT_TRUE(window<AboutBox>()->isVisible());
        EXPECT_EQ(model().CurrentCol(), 1);
        EXPECT_EQ(model().CurrentRow(), 1);
        ClickInWindow(target, at);
        EXPECT_FALSE(window<AboutBox>()->isVisible());
        EXPECT_FALSE(Timer()->isActive());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(AboutBoxTest, LinksOpenTheirTargetsAndLeaveTheBoxOpen) {
    Open();
    QStringList texts;
    QList<QUrl> targets;
    for (LinkLabel* link : window<AboutBox>()->findChildren<LinkLabel*>()) {
        texts.append(link->text());
        ClickInWindow(link, link->rect().center());
        EXPECT_TRUE(window<AboutBox>()->isVisible());
        targets.append(link->Target());
    }
    EXPECT_EQ(opened, targets);
    EXPECT_EQ(texts, QStringList({u"www.qt.io"_s, u"icu.unicode.org"_s,
                                  u"github.com/google/googletest"_s, u"www.debian.org"_s,
                                  u"Tabulon developers"_s, u"dev@tabulon.invalid"_s}));
    ASSERT_EQ(opened.size(), 6);
    EXPECT_EQ(opened[0], QUrl(u"https://www.qt.io/"_s));
    EXPECT_TRUE(opened[4].isLocalFile());
    EXPECT_TRUE(QFileInfo(opened[4].toLocalFile()).isFile()) << opened[4].toString().toStdString();
    EXPECT_EQ(opened[5], QUrl(u"mailto:dev@tabulon.invalid"_s));
    // A press on a link that ends off it opens nothing.
    LinkLabel* mail = window<AboutBox>()->findChildren<LinkLabel*>().last();
    QTest::mousePress(mail, Qt::LeftButton);
    QTest::mouseRelease(mail, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_EQ(opened.size(), 6);
    EXPECT_TRUE(window<AboutBox>()->isVisible());
}

TEST_F(AboutBoxTest, ALinkTurnsRedUnderTheMouse) {
    Open();
    // The mouse comes into the box first, then onto each link and off it.
    QTest::mouseMove(window<AboutBox>()->windowHandle(), QPoint(4, 120));
    for (LinkLabel* link : window<AboutBox>()->findChildren<LinkLabel*>()) {
        SCOPED_TRACE(link->text().toStdString());
        QTest::mouseMove(window<AboutBox>()->windowHandle(), link->geometry().center());
        EXPECT_EQ(TextColour(link), kHover);
        QTest::mouseMove(window<AboutBox>()->windowHandle(), QPoint(4, 120));
        EXPECT_EQ(TextColour(link), kLink);
    }
}

TEST_F(AboutBoxTest, TheDotsCycleEveryHundredAndFiftyMillisecondsAndResumeWhereTheyStopped) {
    EXPECT_EQ(Move()->text(), u"..."_s);
    EXPECT_FALSE(Timer()->isActive());
    EXPECT_EQ(Timer()->interval(), 150);
    Open();
    EXPECT_TRUE(Timer()->isActive());
    EXPECT_EQ(NextMove(), QString());
    EXPECT_EQ(NextMove(), u"."_s);
    EXPECT_EQ(NextMove(), u".."_s);
    EXPECT_EQ(NextMove(), u"..."_s);
    EXPECT_EQ(NextMove(), QString());
    EXPECT_EQ(NextMove(), u"."_s);

    ClickInWindow(window<AboutBox>(), QPoint(4, 120));
    EXPECT_FALSE(Timer()->isActive());
    EXPECT_EQ(Move()->text(), u"."_s);
    Open();
    EXPECT_EQ(NextMove(), u".."_s);

    // A text outside the cycle stays as it is.
    Move()->setText(u"x"_s);
    QSignalSpy ticks(Timer(), &QTimer::timeout);
    ASSERT_TRUE(ticks.wait(1000));
    EXPECT_EQ(Move()->text(), u"x"_s);
}

}  // namespace
