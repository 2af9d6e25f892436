// The Options window over the settings file: ranges, Apply, the check boxes written when
// clicked, and the proxy choice emptying the stored proxy.
#include "ui/optionsform.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "net/tlstrust.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class OptionsFormTest : public ::testing::Test {
 protected:
  void Create() {
    settings = std::make_unique<TConnectionSettings>(dir.AppFolder());
    form = std::make_unique<TOptionsForm>(*settings, answers);
    form->ReadSettings();
    settings->ReadProxy();
    form->ShowProxyPanel();
  }
  template <class W>
  W* Child(const char* name) { return form->findChild<W*>(QString::fromLatin1(name)); }
  QPushButton* ApplyOn(int panel) {
    form->OpenPanel(static_cast<TOptionsPanel>(panel));
    for (QPushButton* b : form->findChildren<QPushButton*>(QStringLiteral("Apply")))
      if (b->isVisible()) return b;
    return nullptr;
  }

  test::TempFolder dir;
  TScriptedAnswerer answers;
  std::unique_ptr<TConnectionSettings> settings;
  std::unique_ptr<TOptionsForm> form;
};

TEST_F(OptionsFormTest, StoredValuesAreBroughtIntoRangeAndOnlyApplyStoresThem) {
  dir.Write("dfd.ini", "[Application]\r\ntimeout=200\r\nports=0\r\n");
  Create();
  EXPECT_EQ(form->TimeoutField()->value(), 120);
  EXPECT_EQ(form->PortsField()->value(), 1);
  form->PortsField()->setValue(12);
  EXPECT_EQ(settings->Ports().Value(), 12);  // the run uses the typed value at once
  EXPECT_EQ(dir.Read("dfd.ini").find("ports=12"), std::string::npos);
  ApplyOn(1)->click();
  EXPECT_NE(dir.Read("dfd.ini").find("ports=12"), std::string::npos) << dir.Read("dfd.ini");
  EXPECT_NE(dir.Read("dfd.ini").find("timeout=120"), std::string::npos);
}

TEST_F(OptionsFormTest, TypedNumbersAreBroughtIntoTheRangeWhenTheFieldIsLeft) {
  dir.Write("dfd.ini", "[Application]\r\ntimeout=60\r\nports=5\r\n");
  Create();
  const struct {
    const char* field;
    const char* typed;
    int shown;  // after leaving the field, and what the run uses
  } cases[] = {
      {"Timeout", "200", 120}, {"Timeout", "999", 120}, {"Timeout", "45", 45}, {"Timeout", "5", 30},
      {"Timeout", "", 30},     {"Ports", "30", 25},     {"Ports", "10", 10},   {"Ports", "0", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.typed);
    QSpinBox* box = std::string(c.field) == "Timeout" ? form->TimeoutField() : form->PortsField();
    const TNumberField& field = std::string(c.field) == "Timeout" ? settings->Timeout() : settings->Ports();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, QString::fromLatin1(c.typed));
    EXPECT_EQ(field.Value(), c.shown);  // the run uses the typed value at once, in range
    QTest::keyClick(box, Qt::Key_Return);  // leaving the field
    EXPECT_EQ(box->value(), c.shown);
    EXPECT_EQ(box->text().toInt(), c.shown);
    EXPECT_EQ(field.Value(), c.shown);
  }
  ApplyOn(1)->click();
  EXPECT_NE(dir.Read("dfd.ini").find("ports=1\r\n"), std::string::npos) << dir.Read("dfd.ini");
  EXPECT_NE(dir.Read("dfd.ini").find("timeout=30\r\n"), std::string::npos) << dir.Read("dfd.ini");
}

TEST_F(OptionsFormTest, DialupBoxesAreWrittenWhenClicked) {
  Create();
  Child<QCheckBox>("OnDemand")->click();
  EXPECT_NE(dir.Read("dfd.ini").find("OnDemand=1"), std::string::npos) << dir.Read("dfd.ini");
  Child<QCheckBox>("HangUp")->click();
  Child<QCheckBox>("OnDemand")->click();
  const std::string ini = dir.Read("dfd.ini");
  EXPECT_NE(ini.find("OnDemand=0"), std::string::npos) << ini;
  EXPECT_NE(ini.find("HangUp=1"), std::string::npos) << ini;
}

TEST_F(OptionsFormTest, ApplyWithoutTheProxyChoiceEmptiesTheStoredProxy) {
  Create();
  std::vector<TProxyValues> applied;
  form->OnProxyApplied = [&](const TProxyValues& v) { applied.push_back(v); };
  Child<QRadioButton>("behindProxy")->click();
  QTest::keyClicks(Child<QLineEdit>("ProxyHost"), QStringLiteral("proxy.lan"));
  QTest::keyClicks(Child<QLineEdit>("ProxyPort"), QStringLiteral("3128"));
  QTest::keyClicks(Child<QLineEdit>("ProxyPassword"), QStringLiteral("a=b"));
  ApplyOn(0)->click();
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0], (TProxyValues{"proxy.lan", "3128", "", "a=b"}));

  Child<QRadioButton>("notBehindProxy")->click();
  ApplyOn(0)->click();
  ASSERT_EQ(applied.size(), 2u);
  EXPECT_EQ(applied[1], TProxyValues{});
  // Read again with the proxy off, the fields are empty; the next Apply stores them so.
  EXPECT_EQ(Child<QLineEdit>("ProxyHost")->text(), QString());
  EXPECT_NE(dir.Read("dfd.ini").find("KeyProxy=0"), std::string::npos) << dir.Read("dfd.ini");
  ApplyOn(0)->click();
  EXPECT_EQ(dir.Read("dfd.ini").find("proxy.lan"), std::string::npos) << dir.Read("dfd.ini");
}

TEST_F(OptionsFormTest, TheTrustedCertificatesFileIsChosenAppliedAndTakenByEveryClient) {
  dir.Write("dfd.ini", "[Security]\r\ncafile=/etc/old.pem\r\n");
  Create();
  auto* field = Child<QLineEdit>("CaFile");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), QStringLiteral("/etc/old.pem"));
  EXPECT_EQ(ExtraCaFile(), "/etc/old.pem");
  std::vector<std::string> offered;
  std::string choice = "";  // cancelled: the field keeps its text
  form->BrowseCaFile = [&](const std::string& current) {
    offered.push_back(current);
    return choice;
  };
  form->OpenPanel(TOptionsPanel::Proxy);
  Child<QPushButton>("BrowseCaFile")->click();
  EXPECT_EQ(field->text(), QStringLiteral("/etc/old.pem"));
  choice = "/srv/company-ca.pem";
  Child<QPushButton>("BrowseCaFile")->click();
  EXPECT_EQ(offered, (std::vector<std::string>{"/etc/old.pem", "/etc/old.pem"}));
  EXPECT_EQ(field->text(), QStringLiteral("/srv/company-ca.pem"));
  // Only Apply stores it, with the proxy; from then on every client trusts it.
  EXPECT_EQ(dir.Read("dfd.ini").find("company-ca"), std::string::npos);
  ApplyOn(0)->click();
  EXPECT_NE(dir.Read("dfd.ini").find("[Security]\r\ncafile=/srv/company-ca.pem\r\n"),
            std::string::npos)
      << dir.Read("dfd.ini");
  EXPECT_EQ(ExtraCaFile(), "/srv/company-ca.pem");
  SetExtraCaFile("");
}

}  // namespace
}  // namespace qs
