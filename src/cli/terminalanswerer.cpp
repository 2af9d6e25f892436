#include "cli/terminalanswerer.h"

#include <istream>
#include <ostream>

#include "app/text.h"

namespace qs {

std::string TTerminalAnswerer::PlainText(const std::string& html) {
  std::string out;
  for (size_t i = 0; i < html.size(); ++i) {
    if (html[i] != '<') {
      out += html[i];
      continue;
    }
    size_t close = html.find('>', i);
    if (close == std::string::npos) {
      out.append(html, i, std::string::npos);
      break;
    }
    std::string tag = html.substr(i + 1, close - i - 1);
    if (EqualsIgnoreCase(tag, "br") || EqualsIgnoreCase(tag, "br/") || EqualsIgnoreCase(tag, "br /"))
      out += '\n';
    i = close;
  }
  return out;
}

int TTerminalAnswerer::Show(const std::string& text, TMsgDlgType type, int /*helpContext*/,
                            TMsgDlgButtons buttons) {
  err_ << DialogCaption(type, title_) << ": " << PlainText(text) << '\n';
  std::vector<TMsgDlgBtn> offered;
  for (TMsgDlgBtn b : kButtonOrder)
    if ((buttons & b) && b != mbHelp) offered.push_back(b);
  if (offered.size() <= 1) return offered.empty() ? mrClosed : ButtonResult(offered.front());
  for (;;) {
    err_ << '[';
    for (size_t i = 0; i < offered.size(); ++i) {
      std::string caption = ReplaceAll(ButtonCaption(offered[i]), "&", "");
      err_ << (i ? "/" : "") << caption;
    }
    err_ << "] " << std::flush;
    std::string answer;
    if (!std::getline(in_, answer)) {
      err_ << '\n';
      return mrClosed;
    }
    for (TMsgDlgBtn b : offered) {
      std::string caption = ReplaceAll(ButtonCaption(b), "&", "");
      if (!answer.empty() && (EqualsIgnoreCase(answer, caption) ||
                              (answer.size() == 1 && AsciiLower(answer[0]) == AsciiLower(caption[0]))))
        return ButtonResult(b);
    }
  }
}

}  // namespace qs
