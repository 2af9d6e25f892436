#include "metatags/metahtmleditor.h"

#include <cerrno>

#include "app/errors.h"
#include "metatags/metahtml.h"
#include "metatags/metatagblock.h"
#include "net/connectionsettings.h"
#include "net/receivelimits.h"
#include "platform/filesystem.h"
#include "projects/domainstore.h"

namespace qs {

std::string DocumentFilter(const std::string& allFiles) {
  return "*.htm *.html|*.htm;*.html|*.shtm *.shtml|*.shtm;*.shtml|*.asp|*.asp|"
         "*.php *.php3|*.php;*.php3|*.cfm|*.cfm|" +
         allFiles + "|*.*";
}

TMetaHtmlEditor::TMetaHtmlEditor(TAppState& state, const TMetaCatalogue& catalogue,
                                 IDialogs& dialogs, IInternetConnection& connection)
    : state_(state),
      catalogue_(catalogue),
      dialogs_(dialogs),
      connection_(connection),
      httpMeta_(std::make_unique<THttpCli>()) {
  urlLabel_ = Lookup("label2");
  httpMeta_->SetAgent("Mozilla/3.0 (compatible)");
  httpMeta_->SetAccept("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
  httpMeta_->SetRcvdStreamLimit(receive_limit::kMetaPage);
  httpMeta_->OnDocData = [this](THttpCli& c, const char*, int) { HttpMetaDocData(c); };
  httpMeta_->OnRequestDone = [this](THttpCli&, THttpRequest, int) { HttpMetaRequestDone(); };
}

void TMetaHtmlEditor::SetSource(std::string text, size_t caret) {
  source_ = std::move(text);
  caret_ = caret;
}

std::string TMetaHtmlEditor::Block() const {
  const TDomainStore store(state_.folder);
  return AsLineBreaks(
      MetaTagBlock(catalogue_, store, state_.currentDomain, state_.currentProjectKey));
}

void TMetaHtmlEditor::LoadFile(const std::string& path) {
  HideUrlBar();
  auto bytes = ReadFileBytes(path);
  if (!bytes) throw IoError(OsErrorText("Cannot open file", path, ENOENT));
  SetSource(std::move(*bytes));
}

void TMetaHtmlEditor::ShowUrlBar() {
  urlBarVisible_ = true;
  urlFieldVisible_ = true;
  urlLabel_ = Lookup("label2");
}

void TMetaHtmlEditor::Go() {
  if (loading_) return;
  if (!TConnectionSettings::CheckInternet(connection_, &dialogs_, state_.languageTable)) return;
  urlFieldVisible_ = false;
  urlLabel_ = Lookup("168");
  received_.close();
  received_.setData(QByteArray());
  received_.open(QIODevice::WriteOnly);
  httpMeta_->SetRcvdStream(&received_);
  httpMeta_->SetURL(metaUrl_);
  try {
    httpMeta_->Get();
    loading_ = true;
  } catch (const THttpCliError&) {
    // Nothing is reported; Load URL shows the field and Go again.
    received_.close();
  }
  UrlBarChanged();
}

void TMetaHtmlEditor::HttpMetaDocData(THttpCli& client) {
  urlLabel_ = Lookup("167") + " " + std::to_string(client.RcvdCount());
  UrlBarChanged();
}

void TMetaHtmlEditor::HttpMetaRequestDone() {
  loading_ = false;
  const QByteArray& body = received_.data();
  SetSource(std::string(body.constData(), static_cast<size_t>(body.size())));
  received_.close();
  received_.setData(QByteArray());
  httpMeta_->SetRcvdStream(nullptr);
  urlFieldVisible_ = true;
  urlBarVisible_ = false;
  urlLabel_ = Lookup("label2");
  UrlBarChanged();
  if (OnSourceLoaded) OnSourceLoaded();
}

void TMetaHtmlEditor::DeleteMetaTags() {
  HideUrlBar();
  source_ = qs::DeleteMetaTags(source_);
  if (caret_ > source_.size()) caret_ = source_.size();
}

void TMetaHtmlEditor::PasteMetaTags() {
  HideUrlBar();
  source_ = InsertAt(source_, caret_, Block());
}

void TMetaHtmlEditor::InjectMetaTags() {
  HideUrlBar();
  source_ = InjectAfterHead(source_, Block());
}

void TMetaHtmlEditor::SaveAs(const std::string& path) {
  HideUrlBar();
  WriteFileAtomically(path, source_);
}

}  // namespace qs
