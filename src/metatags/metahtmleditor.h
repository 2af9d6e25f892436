// The MetaTag Editor panel as behaviour: one HTML document held as text with a caret, loaded
// from a file or a URL, cleaned of its meta tags, given the current project's meta tag
// block, and saved under a new name.
#pragma once

#include <QBuffer>
#include <functional>
#include <memory>
#include <string>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "metatags/metacatalogue.h"
#include "net/httpcli.h"
#include "platform/internetconnection.h"

namespace qs {

// The filter of the document file dialogs; `allFiles` is the text of key 122.
std::string DocumentFilter(const std::string& allFiles);

class TMetaHtmlEditor {
 public:
  TMetaHtmlEditor(TAppState& state, const TMetaCatalogue& catalogue, IDialogs& dialogs,
                  IInternetConnection& connection);

  // ---- the source
  const std::string& Source() const { return source_; }
  size_t Caret() const { return caret_; }
  // The user's own editing.
  void SetSource(std::string text, size_t caret = 0);
  void SetCaret(size_t caret) { caret_ = caret; }

  // ---- the URL bar: Label20, MetaUrl and Go
  bool UrlBarVisible() const { return urlBarVisible_; }
  bool UrlFieldVisible() const { return urlFieldVisible_; }  // MetaUrl and Go together
  const std::string& UrlLabel() const { return urlLabel_; }
  const std::string& MetaUrl() const { return metaUrl_; }
  void SetMetaUrl(std::string url) { metaUrl_ = std::move(url); }
  bool Loading() const { return loading_; }

  // ---- commands. Each file command throws IoError (the source is then unchanged).
  // Load File with the chosen file.
  void LoadFile(const std::string& path);
  // Load URL: shows the URL bar.
  void ShowUrlBar();
  // Go: loads the document at MetaUrl; the source is replaced when the request is done.
  void Go();
  void DeleteMetaTags();
  void PasteMetaTags();
  void InjectMetaTags();
  // Save As with the chosen file: the source as it is, replacing the file.
  void SaveAs(const std::string& path);

  // Told when a URL load has ended and the source was replaced.
  std::function<void()> OnSourceLoaded;
  // Told when the URL bar's label or visibility changed during a load (Connecting...,
  // each Downloading... count, and back to URL:).
  std::function<void()> OnUrlBarChanged;

  THttpCli& HttpMeta() { return *httpMeta_; }

 private:
  std::string Lookup(std::string_view key) const { return state_.languageTable.Lookup(key); }
  void HideUrlBar() { urlBarVisible_ = false; }
  void UrlBarChanged() {
    if (OnUrlBarChanged) OnUrlBarChanged();
  }
  std::string Block() const;
  void HttpMetaDocData(THttpCli& client);
  void HttpMetaRequestDone();

  TAppState& state_;
  const TMetaCatalogue& catalogue_;
  IDialogs& dialogs_;
  IInternetConnection& connection_;
  std::unique_ptr<THttpCli> httpMeta_;
  QBuffer received_;

  std::string source_;
  size_t caret_ = 0;
  bool urlBarVisible_ = false;
  bool urlFieldVisible_ = true;
  std::string urlLabel_, metaUrl_;
  bool loading_ = false;
};

}  // namespace qs
