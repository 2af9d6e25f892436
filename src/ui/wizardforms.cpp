#include "ui/wizardforms.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "projects/projectkeys.h"
#include "ui/uierrors.h"

namespace qs {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

struct TContactField {
  const char* name;
  const char* label;  // caption key
  std::string TContactData::*member;
  bool required;
};
const TContactField kContactFields[] = {
    {"name", "label23", &TContactData::firstName, true},
    {"LastN", "label27", &TContactData::lastName, true},
    {"email", "label28", &TContactData::email, true},
    {"alt_email", "label5", &TContactData::altEmail, true},
    {"password", "label6", &TContactData::password, false},
    {"company", "label29", &TContactData::company, false},
    {"address1", "label31", &TContactData::address1, false},
    {"address2", "label32", &TContactData::address2, false},
    {"city", "label33", &TContactData::city, false},
    {"state", "label69", &TContactData::state, false},
    {"zip", "label34", &TContactData::zip, false},
    {"country", "label35", &TContactData::country, false},
    {"phone", "label39", &TContactData::phone, false},
    {"fax", "label70", &TContactData::fax, false},
};

}  // namespace

TWizardForm::TWizardForm(TWizard& model, const TAppState& state, IDialogs& dialogs,
                         TWizardKeys keys, QWidget* parent)
    : QDialog(parent), model_(model), state_(state), dialogs_(dialogs), keys_(keys) {
  setModal(false);
  steps_ = new QStackedWidget(this);

  // ---- Step 1
  auto* step1 = new QWidget;
  auto* form = new QFormLayout(step1);
  text1_ = new QLabel(step1);
  text1_->setWordWrap(true);
  form->addRow(text1_);
  url_ = new QLineEdit(step1);
  url_->setObjectName(QStringLiteral("urllist"));
  url_->setMaxLength(int(kUrlFieldLimit));
  auto* urlLabel = new QLabel(step1);
  urlLabel->setObjectName(QStringLiteral("urlCaption"));
  form->addRow(urlLabel, url_);
  category_ = new QComboBox(step1);
  category_->setObjectName(QStringLiteral("catagory"));
  category_->setEditable(true);
  category_->setInsertPolicy(QComboBox::NoInsert);
  auto* categoryLabel = new QLabel(step1);
  categoryLabel->setObjectName(QStringLiteral("categoryCaption"));
  form->addRow(categoryLabel, category_);
  for (const TContactField& f : kContactFields) {
    auto* edit = new QLineEdit(step1);
    edit->setObjectName(QString::fromLatin1(f.name));
    edit->setMaxLength(int(kContactFieldLimit));
    auto* label = new QLabel(step1);
    label->setObjectName(QString::fromLatin1(f.name) + QStringLiteral("Caption"));
    label->setProperty("captionKey", QString::fromLatin1(f.label));
    form->addRow(label, edit);
    contact_.emplace_back(edit, f.member);
  }
  urlLabel->setProperty("captionKey", QStringLiteral("label2"));
  categoryLabel->setProperty("captionKey", QStringLiteral("label21"));
  auto* buttons1 = new QHBoxLayout;
  next_ = new QPushButton(step1);
  next_->setObjectName(QStringLiteral("Next"));
  close1_ = new QPushButton(step1);
  buttons1->addStretch(1);
  buttons1->addWidget(next_);
  buttons1->addWidget(close1_);
  form->addRow(buttons1);
  steps_->addWidget(step1);

  // ---- Step 2
  auto* step2 = new QWidget;
  auto* layout2 = new QVBoxLayout(step2);
  text2_ = new QLabel(step2);
  text2_->setWordWrap(true);
  layout2->addWidget(text2_);
  auto* group = new QButtonGroup(this);
  static constexpr const char* kChoiceNames[4] = {"justadd", "justaddimp", "addimpman", "addimpauto"};
  for (int i = 0; i < 4; ++i) {
    choices_[i] = new QRadioButton(step2);
    choices_[i]->setObjectName(QString::fromLatin1(kChoiceNames[i]));
    group->addButton(choices_[i], i);
    layout2->addWidget(choices_[i]);
  }
  connect(group, &QButtonGroup::idClicked, this, [this](int id) {
    model_.SetChoice(static_cast<TAddChoice>(id));
    ChoiceChanged();
  });
  spider_ = new QGroupBox(step2);
  auto* spiderForm = new QFormLayout(spider_);
  extensions_ = new QComboBox(spider_);
  extensions_->setObjectName(QStringLiteral("extentions"));
  extensions_->setEditable(true);
  for (const char* e : {"All", ".htm", ".html", ".asp", ".php", ".cfm", ".shtml", ".shtm"})
    extensions_->addItem(QString::fromLatin1(e));
  const auto digits = QRegularExpression(QStringLiteral("[0-9]*"));
  levels_ = new QLineEdit(spider_);
  levels_->setObjectName(QStringLiteral("levelsdeep"));
  levels_->setValidator(new QRegularExpressionValidator(digits, levels_));
  maxPages_ = new QLineEdit(spider_);
  maxPages_->setObjectName(QStringLiteral("maxpages"));
  maxPages_->setValidator(new QRegularExpressionValidator(digits, maxPages_));
  extLabel_ = new QLabel(spider_);
  levelsLabel_ = new QLabel(spider_);
  maxLabel_ = new QLabel(spider_);
  spiderForm->addRow(extLabel_, extensions_);
  spiderForm->addRow(levelsLabel_, levels_);
  spiderForm->addRow(maxLabel_, maxPages_);
  // A change is in the shared options at once.
  connect(extensions_, &QComboBox::currentTextChanged, this,
          [this](const QString& t) { model_.SpiderOptions().extensions = t.toStdString(); });
  connect(levels_, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.SpiderOptions().levelsDeep = t.toStdString(); });
  connect(maxPages_, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.SpiderOptions().maxPages = t.toStdString(); });
  layout2->addWidget(spider_);
  auto* buttons2 = new QHBoxLayout;
  back_ = new QPushButton(step2);
  back_->setObjectName(QStringLiteral("Back"));
  add_ = new QPushButton(step2);
  add_->setObjectName(QStringLiteral("Add"));
  close2_ = new QPushButton(step2);
  buttons2->addWidget(back_);
  buttons2->addStretch(1);
  buttons2->addWidget(add_);
  buttons2->addWidget(close2_);
  layout2->addLayout(buttons2);
  steps_->addWidget(step2);

  auto* top = new QVBoxLayout(this);
  top->addWidget(steps_);
  connect(next_, &QPushButton::clicked, this, [this] { GoToStep2(); });
  connect(back_, &QPushButton::clicked, this, [this] { steps_->setCurrentIndex(0); });
  connect(add_, &QPushButton::clicked, this, [this] { AddClicked(); });
  connect(close1_, &QPushButton::clicked, this, &QDialog::close);
  connect(close2_, &QPushButton::clicked, this, &QDialog::close);
}

QLineEdit* TWizardForm::Field(const char* name) const {
  return findChild<QLineEdit*>(QString::fromLatin1(name));
}

int TWizardForm::CurrentStep() const { return steps_->currentIndex() + 1; }

void TWizardForm::Open() {
  OpenModel();
  category_->clear();
  for (const std::string& c : state_.categories) category_->addItem(Q(c));
  ShowFields();
  steps_->setCurrentIndex(0);
  show();
  raise();
  activateWindow();
}

void TWizardForm::ShowFields() {
  url_->setText(Q(model_.Url()));
  const TContactData& c = model_.Contact();
  category_->setEditText(Q(c.category));
  for (auto& [edit, member] : contact_) edit->setText(Q(c.*member));
  choices_[int(model_.Choice())]->setChecked(true);
  const TSpiderOptions& o = model_.SpiderOptions();
  extensions_->setEditText(Q(o.extensions));
  levels_->setText(Q(o.levelsDeep));
  maxPages_->setText(Q(o.maxPages));
  ChoiceChanged();
}

void TWizardForm::PushFields() {
  model_.SetUrl(url_->text().toStdString());
  TContactData c;
  c.category = category_->currentText().toStdString();
  for (auto& [edit, member] : contact_) c.*member = edit->text().toStdString();
  model_.SetContact(std::move(c));
}

void TWizardForm::ChoiceChanged() { spider_->setEnabled(model_.SpiderOptionsEnabled()); }

bool TWizardForm::GoToStep2() {
  PushFields();
  if (!model_.LeaveStep1()) {
    steps_->setCurrentIndex(0);
    return false;
  }
  steps_->setCurrentIndex(1);
  return true;
}

bool TWizardForm::AddClicked() {
  bool closed = false;
  Guarded(dialogs_, [&] { closed = model_.Add(); });
  if (OnAdded) OnAdded();
  if (closed) close();
  return closed;
}

void TWizardForm::ApplyTable(const TLanguageTable& table) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  setWindowTitle(t(keys_.caption));
  text1_->setText(t(keys_.text1));
  text2_->setText(t(keys_.text2));
  next_->setText(t(keys_.step2));
  back_->setText(t(keys_.step1));
  add_->setText(t(keys_.add));
  close1_->setText(t(keys_.close));
  close2_->setText(t(keys_.close));
  for (int i = 0; i < 4; ++i) choices_[i]->setText(t(keys_.choices[i]));
  spider_->setTitle(t("28"));
  extLabel_->setText(t("25"));
  levelsLabel_->setText(t("26"));
  maxLabel_->setText(t("27"));
  for (QLabel* label : findChildren<QLabel*>())
    if (const QVariant key = label->property("captionKey"); key.isValid())
      label->setText(Q(table.Lookup(key.toString().toStdString())));
}

TNewDomain::TNewDomain(TNewDomainWizard& model, const TAppState& state, IDialogs& dialogs,
                       QWidget* parent)
    : TWizardForm(model, state, dialogs,
                  {"17", "18", "19", "20", "29", "30", "31", {"21", "22", "23", "24"}}, parent),
      model_(model) {
  setObjectName(QStringLiteral("NewDomain"));
}

TNewProject::TNewProject(TNewProjectWizard& model, const TAppState& state, IDialogs& dialogs,
                         QWidget* parent)
    : TWizardForm(model, state, dialogs,
                  {"95", "96", "98", "99", "104", "105", "97", {"102", "103", "101", "100"}}, parent),
      model_(model) {
  setObjectName(QStringLiteral("NewProject"));
}

}  // namespace qs
