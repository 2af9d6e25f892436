// One engine table on the Database page: its type view, its five counters, the grid of the
// records the view shows, a search by engine name, the record editor with the fields of the
// current record and the navigator that calls the table's own operations.
#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/langtable.h"
#include "engines/enginecatalogue.h"

class QComboBox;
class QLCDNumber;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace qs {

class TEngineTableModel;

class TEngineTablePanel : public QWidget {
  Q_OBJECT
 public:
  // The navigator's commands, in the order of their buttons.
  enum TCommand { kFirst, kPrior, kNext, kLast, kInsert, kDelete, kEdit, kPost, kCancel, kRefresh,
                  kCommands };

  TEngineTablePanel(TEngineCatalogue& catalogue, TSdfDataSet& table, IDialogs& dialogs,
                    const char* objectName, QWidget* parent = nullptr);

  void ApplyTable(const TLanguageTable& table);
  // The table's records changed outside the panel (a count, an update): grid, editor and
  // counters are shown again.
  void Reload();
  void ShowCounters();

  // What a user does, also for tests.
  void SelectView(TTypeView view);
  void Command(TCommand command);
  // Finds the first record whose engine name begins with `name` (letter case ignored).
  bool Find(const QString& name);

  QComboBox* ViewChoice() const { return view_; }
  QTableView* Grid() const { return grid_; }
  TEngineTableModel* Model() const { return model_; }
  QPushButton* Button(TCommand command) const { return buttons_[command]; }
  // The editor's widget of a column (a line edit, or a combo box for a field with choices).
  QWidget* Editor(const std::string& column) const;
  QString EditorText(const std::string& column) const;
  void SetEditorText(const std::string& column, const QString& text);
  QLineEdit* FindField() const { return find_; }
  // Total, engines, FFA, networks, network total.
  QLCDNumber* Counter(int index) const { return counters_[size_t(index)]; }

 private:
  void ShowRecord();
  void ShowButtons();
  void SelectCurrentRow();
  void FieldEdited(int field, const QString& text);
  void RowChosen(int row);

  TEngineCatalogue& catalogue_;
  TSdfDataSet& table_;
  IDialogs& dialogs_;
  bool showing_ = false;

  QComboBox* view_ = nullptr;
  std::vector<QLabel*> counterCaptions_;
  std::vector<QLCDNumber*> counters_;
  QLabel* findCaption_ = nullptr;
  QLineEdit* find_ = nullptr;
  TEngineTableModel* model_ = nullptr;
  QTableView* grid_ = nullptr;
  QLabel* editorCaption_ = nullptr;
  struct TEditorField {
    int field;          // the table's field index
    std::string key;    // caption key
    QLabel* caption;
    QLineEdit* line;    // or
    QComboBox* choice;
  };
  std::vector<TEditorField> editors_;
  std::map<std::string, size_t> editorOf_;
  QPushButton* buttons_[kCommands] = {};
};

}  // namespace qs
