#include "core/ini_section.h"

#include <algorithm>
#include <optional>

namespace core {
namespace {

template <class Char>
using View = std::basic_string_view<Char>;

template <class Char>
bool isBlank(Char c) {
  return c == Char(' ') || c == Char('\t');
}

template <class Char>
View<Char> trimmed(View<Char> s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

template <class Char>
bool sameName(View<Char> a, View<Char> b) {
  const auto fold = [](Char c) { return c >= Char('a') && c <= Char('z') ? Char(c - Char('a') + Char('A')) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](Char x, Char y) { return fold(x) == fold(y); });
}

// One line of the file: its text and the break after it (empty at the very end).
template <class Char>
struct Line {
  View<Char> text;
  View<Char> brk;
};

template <class Char>
std::vector<Line<Char>> linesOf(View<Char> file) {
  std::vector<Line<Char>> lines;
  std::size_t pos = 0;
  while (pos < file.size()) {
    std::size_t end = pos;
    while (end < file.size() && file[end] != Char('\r') && file[end] != Char('\n')) ++end;
    std::size_t next = end;
    if (next < file.size()) next += (file[next] == Char('\r') && next + 1 < file.size() && file[next + 1] == Char('\n')) ? 2 : 1;
    lines.push_back({file.substr(pos, end - pos), file.substr(end, next - end)});
    pos = next;
  }
  return lines;
}

// The section a line opens, if it is a section line.
template <class Char>
std::optional<View<Char>> sectionName(View<Char> line) {
  line = trimmed(line);
  if (line.size() < 2 || line.front() != Char('[')) return std::nullopt;
  const std::size_t close = line.find(Char(']'));
  if (close == View<Char>::npos) return std::nullopt;
  return trimmed(line.substr(1, close - 1));
}

// The key of a "key=value" line; nothing for comments and lines without "=".
template <class Char>
std::optional<View<Char>> keyOf(View<Char> line) {
  const View<Char> t = trimmed(line);
  if (t.empty() || t.front() == Char(';')) return std::nullopt;
  const std::size_t eq = line.find(Char('='));
  if (eq == View<Char>::npos) return std::nullopt;
  return trimmed(line.substr(0, eq));
}

template <class Char>
std::basic_string<Char> literal(const char* ascii) {
  std::basic_string<Char> s;
  for (; *ascii; ++ascii) s += Char(*ascii);
  return s;
}

}  // namespace

template <class Char>
std::basic_string<Char> setIniKeys(View<Char> file, View<Char> section, const IniKeys<Char>& keys) {
  const auto lines = linesOf(file);
  // The file's own line end for lines added; CR LF in a file that has none yet.
  std::basic_string<Char> newline = literal<Char>("\r\n");
  for (const auto& l : lines)
    if (!l.brk.empty()) {
      newline = std::basic_string<Char>(l.brk);
      break;
    }

  // Where the section is: its line, and the line after its last line that is not
  // blank (where new keys go).
  std::optional<std::size_t> header;
  std::size_t insertAt = lines.size();
  std::vector<std::optional<std::size_t>> keyLine(keys.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = sectionName(lines[i].text)) {
      if (header) break;  // the next section: ours has ended
      if (sameName(*name, trimmed(section))) {
        header = i;
        insertAt = i + 1;
      }
      continue;
    }
    if (!header) continue;
    if (!trimmed(lines[i].text).empty()) insertAt = i + 1;
    if (const auto key = keyOf(lines[i].text))
      for (std::size_t k = 0; k < keys.size(); ++k)
        if (!keyLine[k] && sameName(*key, View<Char>(keys[k].first))) keyLine[k] = i;
  }

  const Char eq = Char('=');
  std::basic_string<Char> added;
  for (std::size_t k = 0; k < keys.size(); ++k)
    if (!keyLine[k]) added += keys[k].first + eq + keys[k].second + newline;

  std::basic_string<Char> out;
  out.reserve(file.size() + added.size() + 64);
  const auto emitAdded = [&](bool needBreakBefore) {
    if (needBreakBefore) out += newline;
    out += added;
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (header && i == insertAt) emitAdded(false);
    std::optional<std::size_t> which;
    for (std::size_t k = 0; k < keys.size() && !which; ++k)
      if (keyLine[k] == i) which = k;
    if (which)
      out += keys[*which].first + eq + keys[*which].second;
    else
      out += lines[i].text;
    out += lines[i].brk;
  }
  if (header && insertAt == lines.size()) {
    // The section runs to the end of a file that may lack a final line end.
    emitAdded(!lines.empty() && lines.back().brk.empty() && !added.empty());
  } else if (!header) {
    if (!out.empty() && lines.back().brk.empty()) out += newline;
    out += Char('[') + std::basic_string<Char>(trimmed(section)) + Char(']') + newline;
    out += added;
  }
  return out;
}

template std::string setIniKeys<char>(std::string_view, std::string_view, const IniKeys<char>&);
template std::wstring setIniKeys<wchar_t>(std::wstring_view, std::wstring_view, const IniKeys<wchar_t>&);

}  // namespace core
