// The Reports page: the report properties (border, cell padding and cell spacing, the bands
// flag, the template file with its browse dialog), Save Properties, which is on from the
// first edit until they are saved, Preview, which writes the sample report and opens it, and
// the current project's written reports, which open on a double click.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "projects/projecteditor.h"
#include "reports/reportproperties.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace qs {

class TReadOnlyTableModel;

class TReportsPage : public QWidget {
  Q_OBJECT
 public:
  TReportsPage(TAppState& state, TProjectEditor& editor, IDialogs& dialogs,
               QWidget* parent = nullptr);

  void ApplyTable(const TLanguageTable& table);
  // Shows the properties' values and the current project's written reports again.
  void Refresh();

  // Preview: writes \testreport.htm from the current properties and opens it with the
  // desktop's default handler.
  void Preview();
  void SaveProperties();
  // The template's browse button: a picked file becomes Template File.
  void BrowseTemplate();
  // Opens the written report in row `row` of the list.
  void OpenReport(int row);

  // The file-open dialog (title, initial folder, filter) -> the chosen path or an empty
  // text; tests put a stand-in here.
  std::function<QString(const QString& title, const QString& folder, const QString& filter)>
      pickFile;
  // The template filter as the dialog takes it, with the caption of "All Files".
  static QString TemplateFilter(const std::string& allFiles);

  const TReportProperties& Properties() const { return properties_; }
  QSpinBox* Border() const { return border_; }
  QSpinBox* CellPadding() const { return cellPadding_; }
  QSpinBox* CellSpacing() const { return cellSpacing_; }
  QCheckBox* Bands() const { return bands_; }
  QLineEdit* TemplateFile() const { return templateFile_; }
  QToolButton* BrowseButton() const { return browse_; }
  QPushButton* SaveButton() const { return save_; }
  QPushButton* PreviewButton() const { return preview_; }
  QListView* ReportList() const { return reportList_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowSave();

  TAppState& state_;
  TProjectEditor& editor_;
  IDialogs& dialogs_;
  TReportProperties properties_;
  std::vector<std::string> reports_;  // the written reports of the current project
  bool showing_ = false;              // values are being put into the fields, not edited

  QLabel *intro_ = nullptr, *borderCaption_ = nullptr, *paddingCaption_ = nullptr,
         *spacingCaption_ = nullptr, *templateCaption_ = nullptr, *reportsCaption_ = nullptr;
  QSpinBox *border_ = nullptr, *cellPadding_ = nullptr, *cellSpacing_ = nullptr;
  QCheckBox* bands_ = nullptr;
  QLineEdit* templateFile_ = nullptr;
  QToolButton* browse_ = nullptr;
  QPushButton *save_ = nullptr, *preview_ = nullptr;
  TReadOnlyTableModel* reportModel_ = nullptr;
  QListView* reportList_ = nullptr;
};

}  // namespace qs
