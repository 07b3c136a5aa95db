// TSndNetAddr: the station address window opened from StaAddr, its field and
// spinner, SEND programming the virtual logger, and the main window given back.

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "ui/t_snd_net_addr.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;

ui::TSndNetAddr& window(Desktop& d) { return d.desktop->stationAddressWindow(); }

template <typename T>
T* control(Desktop& d, const char* name) {
  T* c = window(d).findChild<T*>(name);
  if (c == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return c;
}

void typeAddress(Desktop& d, const QString& text) {
  auto* field = control<QLineEdit>(d, "StationAddrField");
  field->selectAll();
  QTest::keyClicks(field, text);
}

// A status read addressed as the settings say: whether the logger answered.
bool statusAnswered(Desktop& d, std::uint8_t station) {
  d.settings().NetworkMode = 1;
  d.settings().StationAddress = station;
  d.trigger("Status1");
  EXPECT_TRUE(d.runUntilIdle(20000));
  d.settings().NetworkMode = 0;
  return d.session().lastOutcome() && d.session().lastOutcome()->kind == ExchangeKind::Status &&
         d.session().lastOutcome()->succeeded;
}

TEST(StationAddress, OpensFromTheMenuWithItsControlsAndHoldsTheMainWindow) {
  Desktop d;
  d.main().show();
  d.trigger("StaAddr");
  EXPECT_TRUE(window(d).isVisible());
  EXPECT_FALSE(window(d).isModal());
  EXPECT_EQ(window(d).windowTitle(), "Set Station Address (for network)");
  EXPECT_FALSE(d.main().isEnabled());
  EXPECT_TRUE(window(d).isEnabled()) << "the window is not a child that the main window disables";
  EXPECT_EQ(control<QPushButton>(d, "SendBtn")->text(), "SEND");
  EXPECT_EQ(control<QLineEdit>(d, "StationAddrField")->toolTip(), "For network communications");
  EXPECT_EQ(control<QLineEdit>(d, "StationAddrField")->maxLength(), 3);
  EXPECT_EQ(control<QWidget>(d, "OvcSpinner1")->toolTip(), "For network communications");
  for (const char* name : {"CancelBtn", "HelpBtn"}) EXPECT_NO_THROW(control<QPushButton>(d, name));
  EXPECT_EQ(d.ctx().kind, ExchangeKind::None) << "opening the window sends nothing";
  EXPECT_TRUE(d.prompter.messages.empty());
  const QString dir = QString(BREVIK_TEST_TMP) + "/../screenshots";
  QDir().mkpath(dir);
  EXPECT_TRUE(window(d).grab().save(dir + "/station_address.png"));
}

TEST(StationAddress, FieldAndSpinnerSetTheNewAddressWrappingAtTheEnds) {
  Desktop d;
  d.trigger("StaAddr");
  auto* up = control<QToolButton>(d, "OvcSpinner1Up");
  auto* down = control<QToolButton>(d, "OvcSpinner1Down");
  struct Step {
    const char* typed;  // nullptr: no typing, only the click
    QToolButton* click;
    int expected;
  };
  const Step steps[] = {
      {"254", up, 255}, {nullptr, up, 0}, {nullptr, down, 255}, {"0", down, 255},
      {"17", nullptr, 17}, {"999", nullptr, 99},  // a third 9 would be above 255: the field keeps 99
  };
  for (const Step& s : steps) {
    if (s.typed) typeAddress(d, s.typed);
    if (s.click) s.click->click();
    EXPECT_EQ(window(d).newStationAddress(), s.expected) << (s.typed ? s.typed : "click");
    EXPECT_EQ(control<QLineEdit>(d, "StationAddrField")->text().toInt(), s.expected);
  }
  EXPECT_EQ(d.settings().StationAddress, 1) << "the settings' address is not the new one";
}

TEST(StationAddress, SendProgramsTheLoggerAndTheExchangeClosesTheWindow) {
  struct Case {
    const char* profile;
    bool fast;
    std::uint32_t baud;
    const char* message;
    MessageKind kind;
    bool programmed;
  };
  const Case cases[] = {
      {"kaldo5-12bit", true, 57600, "Station Address #7 programmed into logger.", MessageKind::Information, true},
      {"mt53-rev-n", false, 4800, "This Brevik Logger can not be networked.  Contact factory for upgrade.",
       MessageKind::Information, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.profile);
    Desktop d({}, c.profile, [&](settings::LoggerSettings& s) {
      s.FastProtocol = c.fast ? 1 : 0;
      s.BaudRate = c.baud;
      s.StationAddress = 3;
    });
    d.main().show();
    d.trigger("StaAddr");
    typeAddress(d, "7");
    control<QPushButton>(d, "SendBtn")->click();
    EXPECT_EQ(d.ctx().kind, ExchangeKind::StationAddressKind);
    EXPECT_FALSE(window(d).isEnabled()) << "the window waits for its exchange";
    EXPECT_FALSE(d.main().isEnabled());
    ASSERT_TRUE(d.runUntilIdle(20000));
    EXPECT_EQ(d.messageTexts(), std::vector<std::string>{c.message});
    EXPECT_EQ(d.prompter.messages.front().kind, c.kind);
    EXPECT_FALSE(window(d).isVisible());
    EXPECT_TRUE(window(d).isEnabled());
    EXPECT_TRUE(d.main().isEnabled());
    EXPECT_EQ(d.session().lastOutcome()->succeeded, c.programmed);
    EXPECT_EQ(d.settings().StationAddress, 3) << "the settings keep their own address";
    if (c.programmed) {
      EXPECT_TRUE(statusAnswered(d, 7)) << "the logger answers at its new address";
      EXPECT_FALSE(statusAnswered(d, 3)) << "and no longer at another";
    }
  }
}

TEST(StationAddress, NetworkModeRefusesAndOpensNothing) {
  Desktop d({}, "kaldo5-12bit", [](settings::LoggerSettings& s) { s.NetworkMode = 1; });
  d.main().show();
  d.trigger("StaAddr");
  EXPECT_EQ(d.messageTexts(), std::vector<std::string>{std::string(program::kSingleLoggerOnlyText)});
  EXPECT_EQ(d.prompter.messages.front().kind, MessageKind::Warning);
  EXPECT_FALSE(window(d).isVisible());
  EXPECT_TRUE(d.main().isEnabled());
  EXPECT_EQ(d.ctx().kind, ExchangeKind::None);
}

TEST(StationAddress, EveryWayOfClosingGivesTheMainWindowBackAndSendsNothing) {
  const std::vector<std::pair<const char*, std::function<void(Desktop&)>>> ways = {
      {"CancelBtn", [](Desktop& d) { control<QPushButton>(d, "CancelBtn")->click(); }},
      {"close box", [](Desktop& d) { window(d).close(); }},
      {"Escape", [](Desktop& d) { QTest::keyClick(&window(d), Qt::Key_Escape); }},
  };
  for (const auto& [name, closeIt] : ways) {
    SCOPED_TRACE(name);
    Desktop d;
    d.main().show();
    d.trigger("StaAddr");
    typeAddress(d, "9");
    ASSERT_FALSE(d.main().isEnabled());
    closeIt(d);
    EXPECT_FALSE(window(d).isVisible());
    EXPECT_TRUE(d.main().isEnabled());
    EXPECT_TRUE(d.main().isVisible());
    EXPECT_EQ(d.ctx().kind, ExchangeKind::None);
    // Opened again, it holds the main window again.
    d.trigger("StaAddr");
    EXPECT_TRUE(window(d).isVisible());
    EXPECT_FALSE(d.main().isEnabled());
    EXPECT_EQ(window(d).newStationAddress(), 9) << "the new address is kept until the send";
  }
}

}  // namespace
}  // namespace brevik::testing
