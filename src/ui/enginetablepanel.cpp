#include "ui/enginetablepanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "engines/enginefields.h"
#include "ui/enginetablemodel.h"
#include "ui/uierrors.h"

namespace qs {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kViewKeys[] = {"264", "187", "266", "267"};  // All Types, Engines, FFA's, Networks
constexpr const char* kCounterKeys[] = {"label11", "187", "266", "267", "268"};
constexpr const char* kCommandKeys[] = {"navfirst", "navprior", "navnext", "navlast", "navinsert",
                                        "navdelete", "navedit", "navpost", "navcancel", "navrefresh"};
constexpr const char* kCommandNames[] = {"First", "Prior", "Next", "Last", "Insert",
                                         "Delete", "Edit", "Post", "Cancel", "Refresh"};

}  // namespace

TEngineTablePanel::TEngineTablePanel(TEngineCatalogue& catalogue, TSdfDataSet& table,
                                     IDialogs& dialogs, const char* objectName, QWidget* parent)
    : QWidget(parent), catalogue_(catalogue), table_(table), dialogs_(dialogs) {
  setObjectName(QString::fromLatin1(objectName));

  // The view choice and the counters.
  view_ = new QComboBox(this);
  view_->setObjectName(QStringLiteral("TypeView"));
  for (int i = 0; i < 4; ++i) view_->addItem(QString());
  view_->setCurrentIndex(int(catalogue_.View(table_)));
  connect(view_, &QComboBox::activated, this, [this](int i) { SelectView(TTypeView(i)); });
  auto* counters = new QGridLayout;
  for (int i = 0; i < 5; ++i) {
    auto* caption = new QLabel(this);
    auto* number = new QLCDNumber(6, this);
    number->setObjectName(QStringLiteral("Counter%1").arg(i));
    number->setSegmentStyle(QLCDNumber::Filled);
    number->setFixedSize(78, 24);
    counterCaptions_.push_back(caption);
    counters_.push_back(number);
    counters->addWidget(caption, i / 3, (i % 3) * 2);
    counters->addWidget(number, i / 3, (i % 3) * 2 + 1);
  }
  counters->setColumnStretch(6, 1);

  // The search.
  findCaption_ = new QLabel(this);
  find_ = new QLineEdit(this);
  find_->setObjectName(QStringLiteral("Find"));
  find_->setClearButtonEnabled(true);
  findCaption_->setBuddy(find_);
  connect(find_, &QLineEdit::returnPressed, this, [this] { Find(find_->text()); });
  connect(find_, &QLineEdit::textEdited, this, [this] { find_->setStyleSheet(QString()); });
  auto* search = new QHBoxLayout;
  search->addWidget(view_);
  search->addSpacing(12);
  search->addWidget(findCaption_);
  search->addWidget(find_, 1);

  // The grid.
  model_ = new TEngineTableModel(table_, this);
  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("Grid"));
  grid_->setModel(model_);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setWordWrap(false);
  grid_->setAlternatingRowColors(true);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setDefaultSectionSize(120);
  grid_->setColumnWidth(0, 50);   // id
  grid_->setColumnWidth(1, 170);  // the engine's name
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { RowChosen(current.row()); });

  // The record editor: every field in column order but id, db_type and trial.
  auto* editor = new QWidget;
  auto* form = new QFormLayout(editor);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  for (const TEngineColumn& c : EngineColumns()) {
    if (c.captionKey.empty()) continue;
    const std::string name(c.name);
    TEditorField f{table_.FieldIndex(name), std::string(c.captionKey), new QLabel(editor), nullptr, nullptr};
    const std::vector<std::string> choices = EngineFieldChoices(name);
    QWidget* widget;
    if (choices.empty()) {
      f.line = new QLineEdit(editor);
      connect(f.line, &QLineEdit::textEdited, this,
              [this, field = f.field](const QString& text) { FieldEdited(field, text); });
      widget = f.line;
    } else {
      f.choice = new QComboBox(editor);
      f.choice->setEditable(true);  // the stored value is free text all the same
      for (const std::string& v : choices) f.choice->addItem(Q(v));
      connect(f.choice, &QComboBox::currentTextChanged, this,
              [this, field = f.field](const QString& text) { FieldEdited(field, text); });
      widget = f.choice;
    }
    widget->setObjectName(Q(name));
    f.caption->setBuddy(widget);
    form->addRow(f.caption, widget);
    editorOf_[name] = editors_.size();
    editors_.push_back(f);
  }
  auto* scroll = new QScrollArea;
  scroll->setWidget(editor);
  scroll->setWidgetResizable(true);
  editorCaption_ = new QLabel(this);
  auto* editorBox = new QWidget;
  auto* editorLayout = new QVBoxLayout(editorBox);
  editorLayout->setContentsMargins(0, 0, 0, 0);
  editorLayout->addWidget(editorCaption_);
  editorLayout->addWidget(scroll, 1);

  // The navigator: its buttons say what they do. Moving in one row, changing in the other,
  // with Delete last, away from Post.
  auto* navigator = new QGridLayout;
  const TCommand rows[2][5] = {{kFirst, kPrior, kNext, kLast, kRefresh},
                               {kInsert, kEdit, kPost, kCancel, kDelete}};
  for (int c = 0; c < kCommands; ++c) {
    buttons_[c] = new QPushButton(this);
    buttons_[c]->setObjectName(QString::fromLatin1(kCommandNames[c]));
    buttons_[c]->setAutoDefault(false);
    connect(buttons_[c], &QPushButton::clicked, this, [this, c] { Command(TCommand(c)); });
  }
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 5; ++c) navigator->addWidget(buttons_[rows[r][c]], r, c);
  navigator->setColumnStretch(5, 1);

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(grid_);
  split->addWidget(editorBox);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 1);
  editorBox->setMinimumWidth(300);
  split->setSizes({420, 360});
  split->setChildrenCollapsible(false);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(search);
  layout->addLayout(counters);
  layout->addWidget(split, 1);
  layout->addLayout(navigator);

  ShowCounters();
  Reload();
}

QWidget* TEngineTablePanel::Editor(const std::string& column) const {
  const auto it = editorOf_.find(column);
  if (it == editorOf_.end()) return nullptr;
  const TEditorField& f = editors_[it->second];
  return f.line ? static_cast<QWidget*>(f.line) : f.choice;
}

QString TEngineTablePanel::EditorText(const std::string& column) const {
  const auto it = editorOf_.find(column);
  if (it == editorOf_.end()) return {};
  const TEditorField& f = editors_[it->second];
  return f.line ? f.line->text() : f.choice->currentText();
}

void TEngineTablePanel::SetEditorText(const std::string& column, const QString& text) {
  const auto it = editorOf_.find(column);
  if (it == editorOf_.end()) return;
  const TEditorField& f = editors_[it->second];
  if (f.line) {
    f.line->setText(text);
    FieldEdited(f.field, text);
  } else {
    f.choice->setCurrentText(text);  // its change signal edits the field
  }
}

void TEngineTablePanel::ApplyTable(const TLanguageTable& table) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  for (int i = 0; i < 4; ++i) view_->setItemText(i, t(kViewKeys[i]));
  for (int i = 0; i < 5; ++i) counterCaptions_[size_t(i)]->setText(t(kCounterKeys[i]));
  for (int c = 0; c < kCommands; ++c) buttons_[c]->setText(t(kCommandKeys[c]));
  findCaption_->setText(t("dbfind"));
  editorCaption_->setText(t("263"));
  for (TEditorField& f : editors_) f.caption->setText(Q(table.Lookup(f.key)));
  model_->ApplyTable(table);
}

// ---- showing ------------------------------------------------------------------------------

void TEngineTablePanel::Reload() {
  showing_ = true;
  model_->Reload();
  showing_ = false;
  SelectCurrentRow();
  ShowRecord();
}

void TEngineTablePanel::ShowCounters() {
  const TEngineCounters& c = catalogue_.Counters(table_);
  const int values[] = {c.total, c.engines, c.ffa, c.networks, c.networkTotal};
  for (int i = 0; i < 5; ++i) counters_[size_t(i)]->display(values[i]);
}

void TEngineTablePanel::SelectCurrentRow() {
  const int row = model_->RowOfLine(table_.CurrentLine());
  showing_ = true;
  if (row >= 0) {
    const QModelIndex index = model_->index(row, grid_->currentIndex().isValid() ? grid_->currentIndex().column() : 0);
    grid_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->scrollTo(index);
  } else {
    grid_->selectionModel()->clearSelection();
  }
  showing_ = false;
}

void TEngineTablePanel::ShowRecord() {
  showing_ = true;
  const bool record = table_.Active() && (!table_.IsEmpty() || table_.State() == TDataSetState::Insert);
  for (TEditorField& f : editors_) {
    const QString value = record ? Q(table_.FieldText(f.field)) : QString();
    if (f.line) {
      if (f.line->text() != value) f.line->setText(value);
      f.line->setEnabled(record);
    } else {
      if (f.choice->currentText() != value) f.choice->setCurrentText(value);
      f.choice->setEnabled(record);
    }
  }
  showing_ = false;
  ShowButtons();
}

void TEngineTablePanel::ShowButtons() {
  const TDataSetState s = table_.State();
  const bool active = s != TDataSetState::Inactive;
  const bool editing = s == TDataSetState::Edit || s == TDataSetState::Insert;
  const bool record = active && !table_.IsEmpty();
  for (TCommand c : {kFirst, kPrior, kNext, kLast}) buttons_[c]->setEnabled(record);
  buttons_[kInsert]->setEnabled(active && !editing);
  buttons_[kDelete]->setEnabled(record && !editing);
  buttons_[kEdit]->setEnabled(record && !editing);
  buttons_[kPost]->setEnabled(editing);
  buttons_[kCancel]->setEnabled(editing);
  buttons_[kRefresh]->setEnabled(active);
}

// ---- what the user does -------------------------------------------------------------------

void TEngineTablePanel::SelectView(TTypeView view) {
  Guarded(dialogs_, [&] { catalogue_.SelectView(table_, view); });
  view_->setCurrentIndex(int(catalogue_.View(table_)));
  Reload();
}

void TEngineTablePanel::Command(TCommand command) {
  const TDataSetState before = table_.State();
  const bool wasEditing = before == TDataSetState::Edit || before == TDataSetState::Insert;
  Guarded(dialogs_, [&] {
    switch (command) {
      case kFirst: table_.First(); break;
      case kPrior: table_.Prior(); break;
      case kNext: table_.Next(); break;
      case kLast: table_.Last(); break;
      case kInsert: table_.Insert(); break;
      case kDelete: table_.Delete(); break;  // at once, without asking
      case kEdit: table_.Edit(); break;
      case kPost: table_.Post(); break;
      case kCancel: table_.Cancel(); break;
      case kRefresh: table_.Refresh(); break;
      case kCommands: break;
    }
  });
  // A post, a delete, a refresh or a move that posted a pending record changes the lines;
  // anything else only moves the cursor.
  const bool linesChanged = command == kPost || command == kDelete || command == kRefresh ||
                            (wasEditing && command != kCancel && command != kInsert && command != kEdit);
  if (linesChanged) {
    Reload();
  } else {
    SelectCurrentRow();
    ShowRecord();
  }
}

bool TEngineTablePanel::Find(const QString& name) {
  if (name.isEmpty()) return false;
  const int before = table_.CurrentLine();
  bool found = false;
  // A prefix is enough: the user types the beginning of a name they remember.
  Guarded(dialogs_, [&] {
    found = table_.Locate("e_name", {name.toStdString()}, {.partialKey = true, .caseInsensitive = true});
  });
  if (!found) table_.GotoLine(before);
  find_->setStyleSheet(found ? QString() : QStringLiteral("QLineEdit { background: #ffd6d6; }"));
  Reload();
  return found;
}

void TEngineTablePanel::RowChosen(int row) {
  if (showing_ || row < 0) return;
  const int line = model_->LineOfRow(row);
  const TDataSetState before = table_.State();
  if (before == TDataSetState::Edit || before == TDataSetState::Insert) {
    // Leaving a changed record posts it, which may move the lines: go by the record's tag.
    const int32_t tag = table_.LineTag(line);
    Guarded(dialogs_, [&] { table_.GotoBookmark(tag); });
    Reload();
    return;
  }
  Guarded(dialogs_, [&] { table_.GotoLine(line); });
  ShowRecord();
}

void TEngineTablePanel::FieldEdited(int field, const QString& text) {
  if (showing_ || field < 0) return;
  Guarded(dialogs_, [&] {
    if (table_.State() == TDataSetState::Browse) {
      if (table_.IsEmpty()) return;
      table_.Edit();
    }
    table_.SetFieldText(field, text.toStdString());
  });
  ShowButtons();
}

}  // namespace qs
