#include "ui/reportspage.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/desktop.h"
#include "platform/filesystem.h"
#include "projects/history.h"
#include "reports/reporttemplate.h"
#include "ui/readonlytablemodel.h"
#include "ui/uierrors.h"

namespace qs {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QSpinBox* Spin(const char* name, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(0, 10);
  spin->setMaximumWidth(90);
  return spin;
}

}  // namespace

TReportsPage::TReportsPage(TAppState& state, TProjectEditor& editor, IDialogs& dialogs,
                           QWidget* parent)
    : QWidget(parent),
      state_(state),
      editor_(editor),
      dialogs_(dialogs),
      properties_(state.folder, state.report) {
  setObjectName(QStringLiteral("ReportsPage"));
  pickFile = [this](const QString& title, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(this, title, folder, filter);
  };
  intro_ = new QLabel(this);
  intro_->setWordWrap(true);
  borderCaption_ = new QLabel(this);
  paddingCaption_ = new QLabel(this);
  spacingCaption_ = new QLabel(this);
  templateCaption_ = new QLabel(this);
  border_ = Spin("Border", this);
  cellPadding_ = Spin("Cellpadding", this);
  cellSpacing_ = Spin("Cellspacing", this);
  bands_ = new QCheckBox(this);
  bands_->setObjectName(QStringLiteral("Bands"));
  templateFile_ = new QLineEdit(this);
  templateFile_->setObjectName(QStringLiteral("TemplateFile"));
  browse_ = new QToolButton(this);
  browse_->setObjectName(QStringLiteral("BrowseTemplate"));
  browse_->setText(QStringLiteral("..."));
  save_ = new QPushButton(this);
  save_->setObjectName(QStringLiteral("SaveProperties"));
  save_->setAutoDefault(false);
  preview_ = new QPushButton(this);
  preview_->setObjectName(QStringLiteral("Preview"));
  preview_->setAutoDefault(false);
  borderCaption_->setBuddy(border_);
  paddingCaption_->setBuddy(cellPadding_);
  spacingCaption_->setBuddy(cellSpacing_);
  templateCaption_->setBuddy(templateFile_);

  auto* templateRow = new QHBoxLayout;
  templateRow->addWidget(templateFile_, 1);
  templateRow->addWidget(browse_);
  auto* form = new QFormLayout;
  form->addRow(borderCaption_, border_);
  form->addRow(paddingCaption_, cellPadding_);
  form->addRow(spacingCaption_, cellSpacing_);
  form->addRow(QString(), bands_);
  form->addRow(templateCaption_, templateRow);
  auto* commands = new QHBoxLayout;
  commands->addWidget(save_);
  commands->addWidget(preview_);
  commands->addStretch(1);

  reportModel_ = new TReadOnlyTableModel([this] { return reports_.size(); },
                                         [this](size_t row, int) { return reports_[row]; },
                                         {"436"}, this);
  reportList_ = new QListView(this);
  reportList_->setObjectName(QStringLiteral("WrittenReports"));
  reportList_->setModel(reportModel_);
  reportList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  reportList_->setUniformItemSizes(true);
  reportsCaption_ = new QLabel(this);
  reportsCaption_->setBuddy(reportList_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro_);
  layout->addLayout(form);
  layout->addLayout(commands);
  layout->addWidget(reportsCaption_);
  layout->addWidget(reportList_, 1);

  auto edited = [this](auto apply) {
    return [this, apply](auto value) {
      if (showing_) return;
      apply(value);
      ShowSave();
    };
  };
  connect(border_, &QSpinBox::valueChanged, this, edited([this](int v) { properties_.SetBorder(v); }));
  connect(cellPadding_, &QSpinBox::valueChanged, this,
          edited([this](int v) { properties_.SetCellPadding(v); }));
  connect(cellSpacing_, &QSpinBox::valueChanged, this,
          edited([this](int v) { properties_.SetCellSpacing(v); }));
  connect(bands_, &QCheckBox::toggled, this, edited([this](bool on) { properties_.SetBands(on); }));
  connect(templateFile_, &QLineEdit::textEdited, this,
          edited([this](const QString& t) { properties_.SetTemplateFile(t.toStdString()); }));
  connect(browse_, &QToolButton::clicked, this, &TReportsPage::BrowseTemplate);
  connect(save_, &QPushButton::clicked, this, &TReportsPage::SaveProperties);
  connect(preview_, &QPushButton::clicked, this, &TReportsPage::Preview);
  connect(reportList_, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& i) { OpenReport(i.row()); });
  Refresh();
}

void TReportsPage::Refresh() {
  showing_ = true;
  const TReportSettings& v = properties_.Values();
  border_->setValue(v.border);
  cellPadding_->setValue(v.cellPadding);
  cellSpacing_->setValue(v.cellSpacing);
  bands_->setChecked(v.bands);
  if (templateFile_->text().toStdString() != v.templateFile) templateFile_->setText(Q(v.templateFile));
  showing_ = false;
  ShowSave();
  reports_ = ReportFilesOf(state_.folder, editor_.HistoryLines());
  reportModel_->Reset();
}

void TReportsPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

void TReportsPage::ShowSave() { save_->setEnabled(properties_.SaveEnabled()); }

void TReportsPage::SaveProperties() {
  Guarded(dialogs_, [&] { properties_.Save(); });
  ShowSave();
}

void TReportsPage::Preview() {
  Guarded(dialogs_, [&] {
    const std::string path = TReportWriter(state_.folder, state_.languageTable, state_.report).WritePreview();
    OpenWithDefaultHandler(path);
  });
}

QString TReportsPage::TemplateFilter(const std::string& allFiles) {
  // The dialog's file types, as pairs of a caption and its patterns.
  return QStringLiteral(
             "*.htm *.html (*.htm *.html);;*.shtm *.shtml (*.shtm *.shtml);;*.asp (*.asp);;"
             "*.php *.php3 (*.php *.php3);;*.cfm (*.cfm);;") +
         Q(allFiles) + QStringLiteral(" (*)");
}

void TReportsPage::BrowseTemplate() {
  const QString chosen = pickFile(Q(state_.languageTable.Lookup("121")),
                                  Q(state_.folder.Path("\\data\\domains")),
                                  TemplateFilter(state_.languageTable.Lookup("122")));
  if (chosen.isEmpty()) return;
  properties_.SetTemplateFile(chosen.toStdString());
  templateFile_->setText(chosen);
  ShowSave();
}

void TReportsPage::OpenReport(int row) {
  if (row < 0 || size_t(row) >= reports_.size()) return;
  // A history file may have been edited by hand: only a report file that is there is opened,
  // never an address or a text the handler would take for an option.
  const std::string& file = reports_[size_t(row)];
  if (!file.empty() && file.front() == '/' && FileExists(file)) OpenWithDefaultHandler(file);
}

void TReportsPage::ApplyTable(const TLanguageTable& table) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  intro_->setText(t("253"));
  borderCaption_->setText(t("252"));
  paddingCaption_->setText(t("257"));
  spacingCaption_->setText(t("258"));
  bands_->setText(t("254"));
  templateCaption_->setText(t("259"));
  save_->setText(t("256"));
  preview_->setText(t("249"));
  reportsCaption_->setText(t("436"));
  reportModel_->ApplyTable(table);
}

}  // namespace qs
