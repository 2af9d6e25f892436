#include "ui/projectspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QFileInfo>
#include <QToolBox>
#include <QVBoxLayout>

#include "platform/desktop.h"
#include "platform/regional.h"
#include "projects/history.h"
#include "ui/htmldelegate.h"
#include "ui/ledcounter.h"
#include "ui/uierrors.h"

namespace qs {

namespace {

// The editor's text fields with the keys of their captions, in the order they are shown.
struct TFieldCaption {
  const char* key;
  const char* label;
};
constexpr TFieldCaption kPageFields[] = {
    {"url", "label2"},       {"title", "label3"},     {"description", "label4"},
    {"key1", "label19"},     {"name", "label23"},     {"last", "label27"},
    {"email", "label28"},    {"alt_email", "label5"}, {"password", "label6"},
    {"company", "label29"},  {"address1", "label31"}, {"address2", "label32"},
    {"city", "label33"},     {"state", "label69"},    {"zip", "label34"},
    {"country", "label35"},  {"phone", "label39"},    {"fax", "label70"},
};

QString Q(const std::string& s) { return QString::fromStdString(s); }

QLabel* Caption(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

TProjectsPage::TProjectsPage(TProjectEditor& editor, IDialogs& dialogs, const TAppState& state,
                             QWidget* parent)
    : QWidget(parent), editor_(editor), dialogs_(dialogs), state_(state) {
  setObjectName(QStringLiteral("ProjectsPage"));
  panels_ = new QToolBox(this);
  panels_->setObjectName(QStringLiteral("ProjectPanels"));
  panels_->addItem(BuildInformation(), QString());
  panels_->addItem(BuildOptions(), QString());
  panels_->addItem(BuildSchedule(), QString());
  panels_->addItem(BuildHistory(), QString());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panels_);
}

QWidget* TProjectsPage::BuildInformation() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  auto* required = Caption("label1", page);
  grid->addWidget(required, 0, 0, 1, 3);
  int row = 1;
  auto addCounter = [&](const std::string& key, TLedCounter*& counter) {
    counter = new TLedCounter(page);
    counter->setObjectName(Q(key + "Counter"));
    grid->addWidget(counter, row, 2);
  };
  for (const TFieldCaption& f : kPageFields) {
    grid->addWidget(Caption(f.label, page), row, 0);
    auto* edit = new QLineEdit(page);
    const std::string key = f.key;
    edit->setObjectName(Q("edit_" + key));
    texts_[key] = edit;
    connect(edit, &QLineEdit::textEdited, this, [this, key](const QString& t) { TextEdited(key, t); });
    grid->addWidget(edit, row, 1);
    if (key == "title") addCounter(key, titleCounter_);
    if (key == "description") addCounter(key, descriptionCounter_);
    if (key == "key1") addCounter(key, keywordsCounter_);
    if (key == "password") {
      // Shown as dots unless the user asks to see it.
      edit->setEchoMode(QLineEdit::Password);
      showPassword_ = new QToolButton(page);
      showPassword_->setObjectName(QStringLiteral("showpassword"));
      showPassword_->setCheckable(true);
      connect(showPassword_, &QToolButton::toggled, edit, [edit](bool shown) {
        edit->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
      });
      grid->addWidget(showPassword_, row, 2);
    }
    ++row;
    if (key == "key1") {  // the category follows the keywords
      grid->addWidget(Caption("label21", page), row, 0);
      category_ = new QComboBox(page);
      category_->setObjectName(QStringLiteral("edit_catagory"));
      category_->setEditable(true);
      category_->setInsertPolicy(QComboBox::NoInsert);
      connect(category_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!loading_) Guarded(dialogs_, [&] { editor_.SetText("catagory", t.toStdString()); });
      });
      grid->addWidget(category_, row, 1);
      ++row;
    }
  }
  grid->setRowStretch(row, 1);
  return page;
}

QWidget* TProjectsPage::BuildOptions() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  optionsTip_ = new QLabel(page);
  optionsTip_->setWordWrap(true);
  layout->addWidget(optionsTip_);
  for (const char* key : {"submitengines", "submitffa", "submitnetworks"}) {
    auto* box = new QCheckBox(page);
    box->setObjectName(QString::fromLatin1(key));
    options_[key] = box;
    layout->addWidget(box);
  }
  mainOnly_ = new QRadioButton(page);
  mainOnly_->setObjectName(QStringLiteral("submitmain"));
  includeCustom_ = new QRadioButton(page);
  includeCustom_->setObjectName(QStringLiteral("inccustom"));
  customOnly_ = new QRadioButton(page);
  customOnly_->setObjectName(QStringLiteral("submitcustom"));
  for (auto [button, choice] : {std::pair{mainOnly_, TDatabaseChoice::MainOnly},
                                {includeCustom_, TDatabaseChoice::IncludeCustom},
                                {customOnly_, TDatabaseChoice::CustomOnly}}) {
    layout->addWidget(button);
    connect(button, &QRadioButton::clicked, this, [this, c = choice] {
      Guarded(dialogs_, [&] { editor_.SetDatabaseChoice(c); });
    });
  }
  for (const char* key : {"genreport", "emailreport"}) {
    auto* box = new QCheckBox(page);
    box->setObjectName(QString::fromLatin1(key));
    options_[key] = box;
    layout->addWidget(box);
  }
  for (auto& [key, box] : options_) {
    connect(box, &QCheckBox::clicked, this, [this, k = key](bool checked) {
      Guarded(dialogs_, [&] { editor_.SetOption(k, checked); });
    });
  }
  layout->addStretch(1);
  return page;
}

QWidget* TProjectsPage::BuildSchedule() {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  scheduleTip_ = new QLabel(page);
  scheduleTip_->setWordWrap(true);
  form->addRow(scheduleTip_);
  scheduled_ = new QCheckBox(page);
  scheduled_->setObjectName(QStringLiteral("scheduled"));
  connect(scheduled_, &QCheckBox::clicked, this, [this](bool checked) {
    Guarded(dialogs_, [&] { editor_.SetOption("scheduled", checked); });
  });
  form->addRow(scheduled_);

  daysBetween_ = new QLineEdit(page);
  daysBetween_->setObjectName(QStringLiteral("daysbetween"));
  daysBetween_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), daysBetween_));
  startDate_ = new QDateEdit(page);
  startDate_->setObjectName(QStringLiteral("startdate"));
  endDate_ = new QDateEdit(page);
  endDate_->setObjectName(QStringLiteral("enddate"));
  for (QDateEdit* d : {startDate_, endDate_}) {
    d->setCalendarPopup(true);
    d->setDisplayFormat(regional::ShortDateFormat());  // the stored format, four-digit year
  }
  bestTime_ = new QTimeEdit(page);
  bestTime_->setObjectName(QStringLiteral("besttime"));
  bestTime_->setDisplayFormat(QStringLiteral("h:mm AP"));
  form->addRow(Caption("label7", page), daysBetween_);
  form->addRow(Caption("label8", page), startDate_);
  form->addRow(Caption("label9", page), endDate_);
  form->addRow(Caption("label10", page), bestTime_);

  // The pickers take any date as it is typed; leaving one hands it to the editor, which
  // brings it to its earliest date, and both pickers show what was stored.
  auto showDates = [this] {
    if (editor_.StartDate().isValid()) startDate_->setDate(editor_.StartDate());
    if (editor_.EndDate().isValid()) endDate_->setDate(editor_.EndDate());
  };
  connect(startDate_, &QDateEdit::editingFinished, this, [this, showDates] {
    Guarded(dialogs_, [&] { editor_.LeaveStartDate(startDate_->date()); });
    showDates();
  });
  connect(endDate_, &QDateEdit::editingFinished, this, [this, showDates] {
    Guarded(dialogs_, [&] { editor_.LeaveEndDate(endDate_->date()); });
    showDates();
  });
  connect(bestTime_, &QTimeEdit::editingFinished, this, [this] {
    Guarded(dialogs_, [&] { editor_.LeaveBestTime(bestTime_->time()); });
  });
  connect(daysBetween_, &QLineEdit::editingFinished, this, [this] {
    Guarded(dialogs_, [&] { editor_.LeaveDaysBetween(daysBetween_->text().toStdString()); });
  });
  return page;
}

QWidget* TProjectsPage::BuildHistory() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  history_ = new QTableWidget(page);
  history_->setObjectName(QStringLiteral("HistoryGrid"));
  history_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  history_->verticalHeader()->hide();
  history_->horizontalHeader()->setStretchLastSection(true);
  auto* delegate = new THtmlDelegate(history_);
  history_->setItemDelegate(delegate);
  // A report link holds the report file's path.
  connect(delegate, &THtmlDelegate::linkActivated, this, [this](const QString& href) {
    const std::string path = ResolvedReportPath(state_.folder, href.toStdString());
    if (!QFileInfo::exists(Q(path)) || !OpenWithDefaultHandler(path))
      dialogs_.Message("Cannot open file " + path, TMsgDlgType::Error);
  });
  layout->addWidget(history_);
  return page;
}

void TProjectsPage::TextEdited(const std::string& key, const QString& text) {
  if (loading_) return;
  Guarded(dialogs_, [&] { editor_.SetText(key, text.toStdString()); });
  RefreshCounters();
}

void TProjectsPage::FillCategories() {
  loading_ = true;
  const QString current = category_->currentText();
  category_->clear();
  for (const std::string& c : state_.categories) category_->addItem(Q(c));
  category_->setEditText(current);
  loading_ = false;
}

void TProjectsPage::Refresh() {
  loading_ = true;
  // Without a project there is nothing to edit: what would be typed could not be kept.
  const bool loaded = editor_.ProjectLoaded();
  for (auto& [key, edit] : texts_) edit->setEnabled(loaded);
  for (auto& [key, box] : options_) box->setEnabled(loaded);
  for (QWidget* w : std::initializer_list<QWidget*>{category_, mainOnly_, includeCustom_, customOnly_, scheduled_,
                                                     startDate_, endDate_, bestTime_, daysBetween_, showPassword_})
    w->setEnabled(loaded);
  for (auto& [key, edit] : texts_) edit->setText(Q(editor_.Text(key)));
  category_->setEditText(Q(editor_.Text("catagory")));
  for (auto& [key, box] : options_) box->setChecked(editor_.Option(key));
  scheduled_->setChecked(editor_.Option("scheduled"));
  switch (editor_.DatabaseChoice()) {
    case TDatabaseChoice::MainOnly: mainOnly_->setChecked(true); break;
    case TDatabaseChoice::IncludeCustom: includeCustom_->setChecked(true); break;
    case TDatabaseChoice::CustomOnly: customOnly_->setChecked(true); break;
  }
  if (editor_.StartDate().isValid()) startDate_->setDate(editor_.StartDate());
  if (editor_.EndDate().isValid()) endDate_->setDate(editor_.EndDate());
  if (editor_.BestTime().isValid()) bestTime_->setTime(editor_.BestTime());
  daysBetween_->setText(Q(editor_.DaysBetween()));
  RefreshCounters();
  RefreshHistory();
  loading_ = false;
}


void TProjectsPage::RefreshCounters() {
  titleCounter_->Show(editor_.TitleCounter());
  descriptionCounter_->Show(editor_.DescriptionCounter());
  keywordsCounter_->Show(editor_.KeywordsCounter());
}

void TProjectsPage::RefreshHistory() {
  const auto& lines = editor_.HistoryLines();
  history_->clear();
  history_->setRowCount(0);
  if (lines.empty()) return;
  const std::vector<std::string> headings = HistoryCells(lines.front());
  history_->setColumnCount(int(headings.size()));
  QStringList labels;
  for (const auto& h : headings) labels << Q(h);
  history_->setHorizontalHeaderLabels(labels);
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const int row = history_->rowCount();
    history_->insertRow(row);
    const std::vector<std::string> cells = HistoryCells(lines[i]);
    for (size_t c = 0; c < cells.size() && int(c) < history_->columnCount(); ++c)
      history_->setItem(row, int(c), new QTableWidgetItem(Q(cells[c])));
  }
}

void TProjectsPage::OpenPanel(TProjectPanel panel) { panels_->setCurrentIndex(int(panel)); }

TProjectPanel TProjectsPage::OpenedPanel() const {
  return static_cast<TProjectPanel>(panels_->currentIndex());
}

void TProjectsPage::ApplyTable(const TLanguageTable& table) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  for (int i = 0; i < 4; ++i) panels_->setItemText(i, t(std::to_string(41 + i).c_str()));
  optionsTip_->setText(t("59"));
  scheduleTip_->setText(t("60"));
  scheduled_->setText(t("81"));
}

}  // namespace qs
