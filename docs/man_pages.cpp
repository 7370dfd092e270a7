// SPDX-License-Identifier: MIT
// Writes the manual pages, so that they cannot drift from what they describe:
//
//   man_pages api OUTDIR VERSION HEADER...
//     one section 3 page per function of the C headers, from the comment above its prototype
//     (brief, description, parameters, return values), and one overview page per header (its
//     file comment, the functions by family, and for zavconfig.h the status codes and property
//     IDs).
//   man_pages tool OUTFILE TEMPLATE ZAVCONFIG
//     zavconfig(1): the hand-written TEMPLATE with its two "generated" comment lines replaced by
//     the global options and by every command, option and argument the built utility's --help
//     lists.
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string Trim(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// Text for roff: backslashes escaped, a control character at the start of a line defused, and
// '-' as the minus of options and code.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

// --- the C headers --------------------------------------------------------------------------

// One "@param", "@retval" or "@return" entry, or a paragraph of the description.
struct Entry {
  std::string name;  // the parameter or the status; "" for @return and paragraphs
  std::string direction;
  std::vector<std::string> items;  // the text, then one string per "- " list item
};

struct Function {
  std::string name, prototype, family, group, brief;
  std::vector<Entry> description, params, retvals;
  std::string returns;
};

struct Define {
  std::string name, group, text;
};

struct Header {
  std::string file, intro;
  std::vector<Function> functions;
  std::vector<Define> statuses, properties;
};

// The text of a comment without its "/**", "*/" and leading " * ".
std::vector<std::string> CommentLines(const std::string& comment) {
  std::vector<std::string> lines;
  std::istringstream in(comment);
  for (std::string line; std::getline(in, line);) {
    std::string t = Trim(line);
    if (StartsWith(t, "/**")) t = t.substr(3);
    if (t.size() >= 2 && t.compare(t.size() - 2, 2, "*/") == 0) t.resize(t.size() - 2);
    // Keep the indentation after the '*': continuation lines are told apart by it.
    size_t star = line.find('*');
    std::string body = StartsWith(Trim(line), "*") && !StartsWith(Trim(line), "*/") &&
                               !StartsWith(Trim(line), "/**")
                           ? line.substr(star + 1)
                           : t;
    if (!body.empty() && body[0] == ' ') body.erase(0, 1);
    if (body.size() >= 2 && body.compare(body.size() - 2, 2, "*/") == 0) body.resize(body.size() - 2);
    lines.push_back(body);
  }
  return lines;
}

// Appends a line of text to an entry: a "- " line starts a list item, others continue.
void AddText(Entry& entry, const std::string& line) {
  const std::string t = Trim(line);
  if (t.empty()) return;
  if (StartsWith(t, "- ")) {
    entry.items.push_back(t.substr(2));
  } else if (entry.items.empty()) {
    entry.items.push_back(t);
  } else {
    entry.items.back() += " " + t;
  }
}

void ParseFunctionComment(const std::vector<std::string>& lines, Function& f) {
  enum { kNone, kBrief, kBody, kParam, kRetval, kReturn } where = kNone;
  for (const std::string& line : lines) {
    const std::string t = Trim(line);
    if (t.empty()) {
      if (where == kBrief || where == kBody) where = kNone;
      continue;
    }
    std::smatch m;
    if (StartsWith(t, "@brief ")) {
      f.brief = t.substr(7);
      where = kBrief;
    } else if (std::regex_match(t, m, std::regex(R"(@param\[(\w+)\]\s+(\w+)\s*(.*))"))) {
      f.params.push_back({m[2], m[1], {}});
      AddText(f.params.back(), m[3]);
      where = kParam;
    } else if (std::regex_match(t, m, std::regex(R"(@retval\s+(\w+)\s*(.*))"))) {
      f.retvals.push_back({m[1], "", {}});
      AddText(f.retvals.back(), m[2]);
      where = kRetval;
    } else if (StartsWith(t, "@return ")) {
      f.returns = t.substr(8);
      where = kReturn;
    } else if (where == kBrief) {
      f.brief += " " + t;
    } else if (where == kParam) {
      AddText(f.params.back(), t);
    } else if (where == kRetval) {
      AddText(f.retvals.back(), t);
    } else if (where == kReturn) {
      f.returns += " " + t;
    } else {
      if (where != kBody) f.description.push_back({});
      AddText(f.description.back(), t);
      where = kBody;
    }
  }
}

// The whole comment as paragraphs, for the file comment and the family introductions.
std::vector<Entry> Paragraphs(const std::vector<std::string>& lines) {
  std::vector<Entry> paragraphs;
  bool open = false;
  for (const std::string& line : lines) {
    const std::string t = Trim(line);
    if (t.empty() || StartsWith(t, "@")) {
      open = false;
      continue;
    }
    if (!open) paragraphs.push_back({});
    AddText(paragraphs.back(), t);
    open = true;
  }
  return paragraphs;
}

std::string CollapseSpaces(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  return Trim(out);
}

Header ParseHeader(const std::string& path) {
  static const std::regex kDashes(R"(/\* -+ (.*?) -+ \*/)");
  static const std::regex kStatus(R"(^#define (ZAVCONFIG_ERROR_\w+) )");
  static const std::regex kProperty(R"(^#define (ZAVCONFIG_VAL_\w+) \((\d+)u\)\s*(?:/\*\s*(.*?)\s*\*/)?)");
  static const std::regex kExported(R"(^ZAV\w+_API )");
  static const std::regex kMarkers(R"(\bZAV\w+_API |\bZAVCONFIG_FUNC )");
  static const std::regex kName(R"((\w+)\()");

  Header header;
  header.file = path.substr(path.rfind('/') + 1);
  const std::string text = ReadAll(path);
  // The family is the "@name" of the member group; the subgroup a "/* --- x --- */" line in it;
  // a plain comment names the property IDs below it.
  std::string family, subgroup, defineGroup, docComment;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t lineStart = pos;
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    const std::string t = Trim(text.substr(pos, eol - pos));
    pos = eol + 1;
    std::smatch m;
    if (StartsWith(t, "/*")) {
      size_t end = text.find("*/", lineStart);
      if (end == std::string::npos) end = text.size();
      const std::string comment = text.substr(lineStart, end + 2 - lineStart);
      pos = std::min(text.size(), text.find('\n', end) + 1);
      if (!StartsWith(t, "/**")) {
        if (std::regex_match(t, m, kDashes))
          subgroup = m[1];
        else
          defineGroup = CollapseSpaces(comment.substr(2, comment.size() - 4));
        docComment.clear();
        continue;
      }
      const std::vector<std::string> lines = CommentLines(comment);
      bool isFile = false, isName = false;
      for (const std::string& l : lines) {
        if (StartsWith(Trim(l), "@file")) isFile = true;
        if (StartsWith(Trim(l), "@name ")) {
          isName = true;
          family = Trim(Trim(l).substr(6));
          subgroup.clear();
        }
      }
      if (isFile)
        for (const Entry& p : Paragraphs(lines)) header.intro += p.items[0] + "\n";
      docComment = isFile || isName || t == "/** @} */" ? "" : comment;
      continue;
    }
    if (std::regex_search(t, m, kStatus) && !docComment.empty()) {
      // "/** 0xBFFA1200: reading ... */" above a status code.
      std::string note;
      for (const Entry& p : Paragraphs(CommentLines(docComment))) note += p.items[0] + " ";
      header.statuses.push_back({m[1], "", Trim(note)});
      docComment.clear();
    } else if (std::regex_search(t, m, kProperty)) {
      header.properties.push_back(
          {m[1], defineGroup, std::string(m[2]) + (m[3].length() ? ", " + std::string(m[3]) : "")});
    } else if (std::regex_search(t, kExported)) {
      const size_t end = text.find(';', lineStart);
      const std::string prototype = std::regex_replace(
          CollapseSpaces(text.substr(lineStart, end - lineStart)), kMarkers, "");
      pos = std::min(text.size(), text.find('\n', end) + 1);
      Function f;
      f.prototype = prototype;
      if (std::regex_search(prototype, m, kName)) f.name = m[1];
      f.family = family;
      f.group = subgroup;
      ParseFunctionComment(CommentLines(docComment), f);
      docComment.clear();
      header.functions.push_back(std::move(f));
    } else if (!t.empty()) {
      docComment.clear();
    }
  }
  return header;
}

// Roff for a paragraph whose later items are list items.
std::string RoffEntry(const Entry& entry, bool withFirstAsParagraph = true) {
  std::string out;
  for (size_t i = 0; i < entry.items.size(); ++i) {
    if (i == 0 && withFirstAsParagraph)
      out += Roff(entry.items[i]) + "\n";
    else
      out += ".RS\n.IP \\(bu 2\n" + Roff(entry.items[i]) + "\n.RE\n";
  }
  return out;
}

// The page's title line; identifiers are not hyphenated and lines are not stretched, so that
// names can be searched for and copied from the rendered page.
std::string TitleLine(const std::string& name, int section, const std::string& version,
                      const std::string& manual) {
  return ".TH \"" + name + "\" " + std::to_string(section) + " \"\" \"zavconfig " + version +
         "\" \"" + manual + "\"\n.nh\n.ad l\n";
}

// A brief as the NAME line has it: "reads a value" for "Reads a value.".
std::string NameLine(std::string brief) {
  if (!brief.empty() && brief.back() == '.') brief.pop_back();
  if (brief.size() > 1 && std::isupper(static_cast<unsigned char>(brief[0])) &&
      std::islower(static_cast<unsigned char>(brief[1])))
    brief[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(brief[0])));
  return brief;
}

// The prototype with one parameter per line and the name in bold.
std::string Synopsis(const Function& f) {
  const size_t open = f.prototype.find('(');
  const size_t nameAt = f.prototype.rfind(f.name, open);
  std::string out = Roff(f.prototype.substr(0, nameAt)) + "\\fB" + Roff(f.name) + "\\fP(";
  std::string params = f.prototype.substr(open + 1, f.prototype.rfind(')') - open - 1);
  std::vector<std::string> list;
  for (size_t at = 0; at <= params.size();) {
    size_t comma = params.find(',', at);
    if (comma == std::string::npos) comma = params.size();
    list.push_back(Trim(params.substr(at, comma - at)));
    at = comma + 1;
  }
  const std::string indent(f.name.size() + 10, ' ');
  for (size_t i = 0; i < list.size(); ++i)
    out += (i ? ",\n" + indent : "") + Roff(list[i]);
  return out + ");\n";
}

std::string FunctionPage(const Header& header, const Function& f, const std::string& version) {
  const bool server = header.file == "zavconfig.h";
  const std::string overview = server ? "zavconfig" : "zavcshared";
  std::string page = TitleLine(f.name, 3, version, "zavconfig C API");
  page += ".SH NAME\n" + f.name + " \\- " + Roff(NameLine(f.brief)) + "\n";
  page += ".SH LIBRARY\n" +
          std::string(server ? "Configuration server (libzavconfig, \\-lzavconfig)"
                             : "Shared error library (libzavcshared, \\-lzavcshared)") +
          "\n";
  page += ".SH SYNOPSIS\n.nf\n.B #include <" + header.file + ">\n.PP\n" + Synopsis(f) + ".fi\n";
  page += ".SH DESCRIPTION\n" + Roff(f.brief) + "\n";
  for (const Entry& p : f.description) page += ".PP\n" + RoffEntry(p);
  if (!f.params.empty()) {
    page += ".SS Parameters\n";
    for (const Entry& p : f.params) {
      page += ".TP\n\\fI" + Roff(p.name) + "\\fP (" + p.direction + ")\n";
      page += RoffEntry(p);
    }
  }
  page += ".SH RETURN VALUE\n";
  if (!f.returns.empty()) page += Roff(f.returns) + "\n";
  for (const Entry& r : f.retvals) page += ".TP\n.B " + Roff(r.name) + "\n" + RoffEntry(r);
  if (f.retvals.empty() && f.returns.empty()) page += "A ViStatus.\n";

  // Every other function the page names, then the overview of the family.
  std::set<std::string> seen;
  std::vector<std::string> refs;
  std::string all = f.brief + f.returns;
  for (const auto& list : {f.description, f.params, f.retvals})
    for (const Entry& e : list)
      for (const std::string& item : e.items) all += " " + item;
  static const std::regex name(R"(\b(ZavConfig_\w+|ZavSession_\w+))");
  for (std::sregex_iterator it(all.begin(), all.end(), name), end; it != end; ++it)
    if ((*it)[1] != f.name && seen.insert((*it)[1]).second) refs.push_back((*it)[1]);
  page += ".SH SEE ALSO\n";
  for (const std::string& ref : refs) page += ".BR " + ref + " (3),\n";
  page += ".BR " + overview + " (3)\n";
  if (!f.family.empty()) page += "(functions of the family \\(lq" + Roff(f.family) + "\\(rq)\n";
  return page;
}

std::string OverviewPage(const Header& header, const std::string& version) {
  const bool server = header.file == "zavconfig.h";
  const std::string name = server ? "zavconfig" : "zavcshared";
  std::string page = TitleLine(name, 3, version, "zavconfig C API");
  page += ".SH NAME\n" + name + " \\- " +
          (server ? "configuration server for test and measurement instrument drivers"
                  : "per-thread error records of the configuration server") +
          "\n.SH LIBRARY\n" +
          (server ? "Configuration server (libzavconfig, \\-lzavconfig)"
                  : "Shared error library (libzavcshared, \\-lzavcshared)") +
          "\n.SH SYNOPSIS\n.nf\n.B #include <" + header.file + ">\n.fi\n.PP\n" +
          "Compile and link with \\fBpkg\\-config \\-\\-cflags \\-\\-libs zavconfig\\fP.\n" +
          ".SH DESCRIPTION\n";
  std::istringstream intro(header.intro);
  for (std::string line; std::getline(intro, line);) page += Roff(line) + "\n.PP\n";
  page += ".SH FUNCTIONS\n";
  std::string family = "\x01", group = "\x01";
  for (const Function& f : header.functions) {
    if (f.family != family) {
      family = f.family;
      group = "\x01";
      if (!family.empty()) page += ".SS " + Roff(family) + "\n";
    }
    if (f.group != group) {
      group = f.group;
      if (!group.empty()) page += ".PP\n\\fI" + Roff(group) + "\\fP\n";
    }
    page += ".TP\n.BR " + f.name + " (3)\n" + Roff(f.brief) + "\n";
  }
  if (!header.statuses.empty()) {
    page += ".SH STATUS CODES\n";
    for (const Define& d : header.statuses) page += ".TP\n.B " + d.name + "\n" + Roff(d.text) + "\n";
  }
  if (!header.properties.empty()) {
    page += ".SH PROPERTY IDS\n";
    std::string current = "\x01";
    for (const Define& d : header.properties) {
      if (d.group != current) {
        current = d.group;
        page += ".SS " + Roff(current) + "\n";
      }
      page += ".TP\n.B " + d.name + "\n" + Roff(d.text) + "\n";
    }
  }
  page += ".SH SEE ALSO\n.BR " + std::string(server ? "zavcshared" : "zavconfig") +
          " (3),\n.BR zavconfig (1)\n";
  return page;
}

int Api(const std::string& outDir, const std::string& version,
        const std::vector<std::string>& headers) {
  size_t count = 0;
  for (const std::string& path : headers) {
    const Header header = ParseHeader(path);
    if (header.functions.empty()) throw std::runtime_error("no functions found in " + path);
    for (const Function& f : header.functions) {
      if (f.brief.empty()) throw std::runtime_error(path + ": " + f.name + " has no @brief");
      WriteAll(outDir + "/" + f.name + ".3", FunctionPage(header, f, version));
      ++count;
    }
    const std::string overview = header.file.substr(0, header.file.find('.'));
    WriteAll(outDir + "/" + overview + ".3", OverviewPage(header, version));
  }
  std::cout << count << " function pages in " << outDir << "\n";
  return 0;
}

// --- the utility ----------------------------------------------------------------------------

std::string Capture(const std::vector<std::string>& argv) {
  std::string command;
  for (const std::string& arg : argv) command += "'" + arg + "' ";
  FILE* pipe = popen((command + "2>&1").c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run " + argv[0]);
  std::string out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(command + "failed:\n" + out);
  return out;
}

// One command's --help: what it does, its usage line and its entries (positionals, options,
// subcommands), each with its description.
struct Help {
  std::string about, usage;
  struct Item {
    std::string section, term, text;
  };
  std::vector<Item> items;
  std::vector<std::string> subcommands;
};

Help ParseHelp(const std::string& text) {
  Help help;
  std::istringstream in(text);
  std::string section;
  bool inFooter = false, inGroup = false;
  for (std::string line; std::getline(in, line);) {
    const std::string t = Trim(line);
    if (StartsWith(line, "Usage: ")) {
      help.usage = line.substr(7);
      continue;
    }
    if (help.usage.empty()) {
      help.about += (help.about.empty() ? "" : " ") + t;
      continue;
    }
    if (t.empty()) {
      // The footer follows the entries after a blank line and is the same for every command.
      if (!help.items.empty()) inFooter = true;
      continue;
    }
    if (line[0] != ' ' && t.back() == ':') {
      section = t.substr(0, t.size() - 1);
      inFooter = inGroup = false;
      continue;
    }
    if (StartsWith(t, "[Option Group: ")) {
      section = t.substr(15, t.size() - 16);
      inFooter = false;
      inGroup = true;
      continue;
    }
    if (inFooter || line[0] != ' ') continue;
    if (inGroup && t[0] != '-') {
      // The group's description and its rule ("[Exactly 1 of the following options is
      // required]") are told as text, before the group's options.
      if (t != "Options:")
        help.items.push_back({section, "", t[0] == '[' ? t.substr(1, t.size() - 2) + "." : t + ":"});
      continue;
    }
    const size_t indent = line.find_first_not_of(' ');
    // A description on a line of its own, under its term, starts in the description column.
    if (indent >= 20 && !help.items.empty()) {
      help.items.back().text += (help.items.back().text.empty() ? "" : " ") + t;
      continue;
    }
    if (section == "Options" && t[0] != '-' && !help.items.empty() && indent > 2) {
      // The description of an option group.
      continue;
    }
    const size_t gap = t.find("  ");
    Help::Item item{section, gap == std::string::npos ? t : t.substr(0, gap),
                    gap == std::string::npos ? "" : Trim(t.substr(gap))};
    if (section == "Subcommands") help.subcommands.push_back(item.term);
    help.items.push_back(item);
  }
  return help;
}

// An option's term as CLI11 prints it ("-f,--file TEXT", "--module TEXT Excludes: --no-module")
// in roff: names in bold, the value in italics, constraints as they are.
std::string RoffTerm(const std::string& term) {
  std::string out;
  std::istringstream words(term);
  bool first = true;
  for (std::string word; words >> word; first = false) {
    if (!first) out += " ";
    if (first && word[0] == '-') {
      std::string names;
      for (size_t at = 0; at <= word.size();) {
        size_t comma = word.find(',', at);
        if (comma == std::string::npos) comma = word.size();
        names += (names.empty() ? "" : ", ") + ("\\fB" + Roff(word.substr(at, comma - at)) + "\\fP");
        at = comma + 1;
      }
      out += names;
    } else if (first) {
      out += "\\fB" + Roff(word) + "\\fP";
    } else if (word == "TEXT" || word == "REQUIRED" || StartsWith(word, "TEXT:") || word == "INT") {
      out += "\\fI" + Roff(word) + "\\fP";
    } else {
      out += Roff(word);
    }
  }
  return out;
}

void DescribeCommand(const std::string& tool, std::vector<std::string> path, std::string& out) {
  std::vector<std::string> argv = {tool};
  argv.insert(argv.end(), path.begin(), path.end());
  argv.push_back("--help");
  const Help help = ParseHelp(Capture(argv));
  if (!path.empty()) {
    std::string name;
    for (const std::string& p : path) name += (name.empty() ? "" : " ") + p;
    if (help.subcommands.empty()) {
      out += ".SS " + Roff(help.usage) + "\n" + Roff(help.about) + "\n";
      for (const Help::Item& item : help.items) {
        if (item.term == "-h,--help") continue;
        if (item.term.empty())
          out += ".PP\n" + Roff(item.text) + "\n";
        else
          out += ".TP\n" + RoffTerm(item.term) + "\n" + Roff(item.text) + "\n";
      }
    }
  }
  for (const std::string& sub : help.subcommands) {
    path.push_back(sub);
    DescribeCommand(tool, path, out);
    path.pop_back();
  }
}

int Tool(const std::string& outFile, const std::string& templatePath, const std::string& tool) {
  std::string commands;
  DescribeCommand(tool, {}, commands);
  const Help top = ParseHelp(Capture({tool, "--help"}));
  std::string globals;
  for (const Help::Item& item : top.items)
    if (item.section == "Options")
      globals += ".TP\n" + RoffTerm(item.term) + "\n" + Roff(item.text) + "\n";
  std::string page = ReadAll(templatePath);
  for (const auto& [key, value] : std::map<std::string, std::string>{
           {".\\\" generated: commands\n", commands}, {".\\\" generated: options\n", globals}}) {
    const size_t at = page.find(key);
    if (at == std::string::npos) throw std::runtime_error(templatePath + " lacks " + key);
    page.replace(at, key.size(), value);
  }
  WriteAll(outFile, page);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() >= 4 && args[0] == "api")
      return Api(args[1], args[2], std::vector<std::string>(args.begin() + 3, args.end()));
    if (args.size() == 4 && args[0] == "tool") return Tool(args[1], args[2], args[3]);
  } catch (const std::exception& e) {
    std::cerr << "man_pages: " << e.what() << "\n";
    return 1;
  }
  std::cerr << "usage: man_pages api OUTDIR VERSION HEADER... | tool OUTFILE TEMPLATE ZAVCONFIG\n";
  return 2;
}
