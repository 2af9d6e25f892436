#include "ui/optionsform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/numberspinbox.h"
#include "ui/uierrors.h"

namespace qs {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

TOptionsForm::TOptionsForm(TConnectionSettings& settings, IDialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
  setObjectName(QStringLiteral("OptionsForm"));
  panels_ = new QTabWidget(this);
  panels_->addTab(BuildProxy(), QString());
  panels_->addTab(BuildTimeouts(), QString());
  panels_->addTab(BuildDialup(), QString());
  panels_->addTab(BuildLanguage(), QString());
  // Every panel's caption shows: the window is as wide as its tabs need.
  panels_->setUsesScrollButtons(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panels_);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

namespace {

QHBoxLayout* ApplyClose(QWidget* parent, std::vector<QPushButton*>& applies,
                        std::vector<QPushButton*>& closes, bool withApply) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  if (withApply) {
    auto* apply = new QPushButton(parent);
    apply->setObjectName(QStringLiteral("Apply"));
    applies.push_back(apply);
    row->addWidget(apply);
  }
  auto* close = new QPushButton(parent);
  close->setObjectName(QStringLiteral("Close"));
  closes.push_back(close);
  row->addWidget(close);
  return row;
}

}  // namespace

QWidget* TOptionsForm::BuildProxy() {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  proxyTip_ = new QLabel(page);
  proxyTip_->setWordWrap(true);
  form->addRow(proxyTip_);
  behind_ = new QRadioButton(page);
  behind_->setObjectName(QStringLiteral("behindProxy"));
  notBehind_ = new QRadioButton(page);
  notBehind_->setObjectName(QStringLiteral("notBehindProxy"));
  form->addRow(behind_);
  form->addRow(notBehind_);
  host_ = new QLineEdit(page);
  port_ = new QLineEdit(page);
  user_ = new QLineEdit(page);
  password_ = new QLineEdit(page);
  host_->setObjectName(QStringLiteral("ProxyHost"));
  port_->setObjectName(QStringLiteral("ProxyPort"));
  user_->setObjectName(QStringLiteral("ProxyUsername"));
  password_->setObjectName(QStringLiteral("ProxyPassword"));
  password_->setEchoMode(QLineEdit::Password);
  hostLabel_ = new QLabel(page);
  portLabel_ = new QLabel(page);
  userLabel_ = new QLabel(page);
  passwordLabel_ = new QLabel(page);
  form->addRow(hostLabel_, host_);
  form->addRow(portLabel_, port_);
  form->addRow(userLabel_, user_);
  form->addRow(passwordLabel_, password_);
  caFileTip_ = new QLabel(page);
  caFileTip_->setWordWrap(true);
  form->addRow(caFileTip_);
  caFile_ = new QLineEdit(page);
  caFile_->setObjectName(QStringLiteral("CaFile"));
  browseCaFile_ = new QPushButton(page);
  browseCaFile_->setObjectName(QStringLiteral("BrowseCaFile"));
  auto* caRow = new QHBoxLayout;
  caRow->addWidget(caFile_, 1);
  caRow->addWidget(browseCaFile_);
  caFileLabel_ = new QLabel(page);
  form->addRow(caFileLabel_, caRow);
  BrowseCaFile = [this](const std::string& current) {
    return QFileDialog::getOpenFileName(this, caFileLabel_->text(), Q(current),
                                        QStringLiteral("PEM (*.pem *.crt);;* (*)"))
        .toStdString();
  };
  connect(browseCaFile_, &QPushButton::clicked, this, [this] {
    const std::string chosen = BrowseCaFile ? BrowseCaFile(caFile_->text().toStdString()) : "";
    if (!chosen.empty()) caFile_->setText(Q(chosen));
  });
  form->addRow(ApplyClose(page, applyButtons_, closeButtons_, true));
  connect(applyButtons_.back(), &QPushButton::clicked, this, &TOptionsForm::ApplyProxy);
  connect(closeButtons_.back(), &QPushButton::clicked, this, &QDialog::close);
  return page;
}

QWidget* TOptionsForm::BuildTimeouts() {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  timeoutsTip_ = new QLabel(page);
  timeoutsTip_->setWordWrap(true);
  form->addRow(timeoutsTip_);
  // The run reads the fields' values each time; only Apply stores them.
  timeout_ = new TNumberSpinBox(settings_.Timeout(), page);
  timeout_->setObjectName(QStringLiteral("Timeout"));
  ports_ = new TNumberSpinBox(settings_.Ports(), page);
  ports_->setObjectName(QStringLiteral("Ports"));
  timeoutLabel_ = new QLabel(page);
  portsLabel_ = new QLabel(page);
  form->addRow(timeoutLabel_, timeout_);
  form->addRow(portsLabel_, ports_);
  form->addRow(ApplyClose(page, applyButtons_, closeButtons_, true));
  connect(applyButtons_.back(), &QPushButton::clicked, this,
          [this] { Guarded(dialogs_, [&] { settings_.ApplyTimeoutsPorts(); }); });
  connect(closeButtons_.back(), &QPushButton::clicked, this, &QDialog::close);
  return page;
}

QWidget* TOptionsForm::BuildDialup() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  dialupTip_ = new QLabel(page);
  dialupTip_->setWordWrap(true);
  layout->addWidget(dialupTip_);
  connectionOptions_ = new QLabel(page);
  layout->addWidget(connectionOptions_);
  onDemand_ = new QCheckBox(page);
  onDemand_->setObjectName(QStringLiteral("OnDemand"));
  conPrompt_ = new QCheckBox(page);
  conPrompt_->setObjectName(QStringLiteral("ConPrompt"));
  hangUp_ = new QCheckBox(QStringLiteral("Hangup when finished"), page);
  hangUp_->setObjectName(QStringLiteral("HangUp"));
  layout->addWidget(onDemand_);
  layout->addWidget(conPrompt_);
  layout->addWidget(hangUp_);
  connect(onDemand_, &QCheckBox::clicked, this,
          [this](bool c) { Guarded(dialogs_, [&] { settings_.ClickOnDemand(c); }); });
  connect(conPrompt_, &QCheckBox::clicked, this,
          [this](bool c) { Guarded(dialogs_, [&] { settings_.ClickConPrompt(c); }); });
  connect(hangUp_, &QCheckBox::clicked, this,
          [this](bool c) { Guarded(dialogs_, [&] { settings_.ClickHangUp(c); }); });
  layout->addStretch(1);
  layout->addLayout(ApplyClose(page, applyButtons_, closeButtons_, false));
  connect(closeButtons_.back(), &QPushButton::clicked, this, &QDialog::close);
  return page;
}

QWidget* TOptionsForm::BuildLanguage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("LanguagePanel"));
  auto* layout = new QVBoxLayout(page);
  auto* row = new QHBoxLayout;
  languageLabel_ = new QLabel(page);
  language_ = new QComboBox(page);
  language_->setObjectName(QStringLiteral("Language"));
  languageLabel_->setBuddy(language_);
  row->addWidget(languageLabel_);
  row->addWidget(language_, 1);
  layout->addLayout(row);
  layout->addStretch(1);
  layout->addLayout(ApplyClose(page, applyButtons_, closeButtons_, true));
  connect(applyButtons_.back(), &QPushButton::clicked, this, [this] {
    if (OnLanguageChosen) OnLanguageChosen(language_->currentData().toString().toStdString());
  });
  connect(closeButtons_.back(), &QPushButton::clicked, this, &QDialog::close);
  return page;
}

void TOptionsForm::ShowLanguages(const std::string& current, bool custom) {
  language_->clear();
  // Each language by its own name, which its speakers look for.
  language_->addItem(QStringLiteral("English"), QStringLiteral("english"));
  language_->addItem(QStringLiteral("Español"), QStringLiteral("spanish"));
  if (custom) language_->addItem(QStringLiteral("lang.ini"), QStringLiteral("custom"));
  const int i = language_->findData(Q(current));
  language_->setCurrentIndex(i < 0 ? 0 : i);
}

void TOptionsForm::ReadSettings() {
  Guarded(dialogs_, [&] {
    settings_.ReadTimeoutsPorts();
    timeout_->setValue(settings_.Timeout().Value());
    ports_->setValue(settings_.Ports().Value());
    const TConnectionSettings::TDialup d = settings_.ReadDialup();
    onDemand_->setChecked(d.onDemand);
    conPrompt_->setChecked(d.conPrompt);
    hangUp_->setChecked(d.hangUp);
  });
}

void TOptionsForm::ShowProxyPanel() {
  const TProxyPanel& p = settings_.ProxyPanel();
  host_->setText(Q(p.fields.host));
  port_->setText(Q(p.fields.port));
  user_->setText(Q(p.fields.username));
  password_->setText(Q(p.fields.password));
  caFile_->setText(Q(p.caFile));
  (p.behindProxy ? behind_ : notBehind_)->setChecked(true);
}

void TOptionsForm::ApplyProxy() {
  TProxyPanel& p = settings_.EditProxyPanel();
  p.fields = {host_->text().toStdString(), port_->text().toStdString(),
              user_->text().toStdString(), password_->text().toStdString()};
  p.behindProxy = behind_->isChecked();
  p.caFile = caFile_->text().toStdString();
  TProxyValues applied;
  if (!Guarded(dialogs_, [&] { applied = settings_.ApplyProxyPanel(); })) return;
  ShowProxyPanel();
  if (OnProxyApplied) OnProxyApplied(applied);
}

void TOptionsForm::OpenPanel(TOptionsPanel panel) {
  panels_->setCurrentIndex(int(panel));
  show();
  raise();
  activateWindow();
}

void TOptionsForm::ApplyTable(const TLanguageTable& table) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  setWindowTitle(t("53"));
  panels_->setTabText(0, t("309"));
  panels_->setTabText(1, t("310"));
  panels_->setTabText(2, t("311"));
  panels_->setTabText(3, t("optlanguage"));
  languageLabel_->setText(t("optlanguage") + QStringLiteral(":"));
  proxyTip_->setText(t("323"));
  behind_->setText(t("324"));
  notBehind_->setText(t("325"));
  hostLabel_->setText(t("326"));
  portLabel_->setText(t("327"));
  userLabel_->setText(t("328"));
  passwordLabel_->setText(t("329"));
  caFileTip_->setText(t("425"));
  caFileLabel_->setText(t("423"));
  browseCaFile_->setText(t("424"));
  timeoutsTip_->setText(t("330"));
  timeoutLabel_->setText(t("331"));
  portsLabel_->setText(t("332"));
  dialupTip_->setText(t("312"));
  connectionOptions_->setText(t("313"));
  onDemand_->setText(t("314"));
  conPrompt_->setText(t("315"));
  hangUp_->setText(t("316"));
  for (QPushButton* b : applyButtons_) b->setText(t("333"));
  for (QPushButton* b : closeButtons_) b->setText(t("30"));
  adjustSize();
}

}  // namespace qs
