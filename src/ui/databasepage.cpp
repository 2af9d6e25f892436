#include "ui/databasepage.h"

#include <QToolBox>
#include <QVBoxLayout>

#include "ui/enginetablepanel.h"
#include "ui/updatepanel.h"

namespace qs {

TDatabasePage::TDatabasePage(TSummit& summit, IDialogs& dialogs, TPublicKey updateKey, QWidget* parent)
    : QWidget(parent), summit_(summit), update_(std::make_unique<TDatabaseUpdate>(summit, dialogs, updateKey)) {
  setObjectName(QStringLiteral("DatabasePage"));
  TEngineCatalogue& catalogue = summit_.catalogue;
  main_ = new TEngineTablePanel(catalogue, catalogue.EnginesTable, dialogs, "MainDatabase");
  custom_ = new TEngineTablePanel(catalogue, catalogue.CustomTable, dialogs, "CustomDatabase");
  updates_ = new TUpdatePanel(*update_);
  panels_ = new QToolBox(this);
  panels_->setObjectName(QStringLiteral("DatabasePanels"));
  panels_->addItem(main_, QString());
  panels_->addItem(custom_, QString());
  panels_->addItem(updates_, QString());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panels_);

  catalogue.OnCountsChanged = [this](TSdfDataSet& table) {
    TEngineTablePanel* panel = &table == &summit_.catalogue.EnginesTable ? main_ : custom_;
    panel->ShowCounters();
  };
  catalogue.OnSaveError = [&dialogs](const std::string& failure) {
    dialogs.Message(failure, TMsgDlgType::Error);
  };
  connect(updates_, &TUpdatePanel::finished, this, [this] {
    // The update closed and opened the main table again and counted it.
    main_->Reload();
    main_->ShowCounters();
    emit dataUpdated();
  });
}

TDatabasePage::~TDatabasePage() {
  summit_.catalogue.OnCountsChanged = nullptr;
  summit_.catalogue.OnSaveError = nullptr;
  delete updates_;  // it lets go of the update's events before the update goes
  updates_ = nullptr;
}

void TDatabasePage::OpenPanel(TDatabasePanel panel) { panels_->setCurrentIndex(int(panel)); }

TDatabasePanel TDatabasePage::OpenedPanel() const { return TDatabasePanel(panels_->currentIndex()); }

void TDatabasePage::StartUpdate() {
  OpenPanel(TDatabasePanel::Updates);
  updates_->StartUpdate();
}

void TDatabasePage::ApplyTable(const TLanguageTable& table) {
  panels_->setItemText(0, QString::fromStdString(table.Lookup("260")));
  panels_->setItemText(1, QString::fromStdString(table.Lookup("261")));
  panels_->setItemText(2, QString::fromStdString(table.Lookup("262")));
  main_->ApplyTable(table);
  custom_->ApplyTable(table);
  updates_->ApplyTable(table);
}

}  // namespace qs
