#include "platform/shell.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFilePrefix = "quintabell-";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Keeps letters, digits, '-' and '.', so a class name is safe in a MIME type and a file name.
std::string Token(const std::string &text) {
  std::string token;
  for (unsigned char c : Lower(text)) {
    token += std::isalnum(c) || c == '-' || c == '.' ? static_cast<char>(c) : '-';
  }
  return token;
}

std::string XmlEscaped(const std::string &text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
    case '&':
      escaped += "&amp;";
      break;
    case '<':
      escaped += "&lt;";
      break;
    case '>':
      escaped += "&gt;";
      break;
    case '"':
      escaped += "&quot;";
      break;
    default:
      escaped += c;
    }
  }
  return escaped;
}

// Written beside the target and renamed over it, so a reader never sees half a file.
bool WriteAtomically(const fs::path &file, const std::string &content) {
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  const fs::path temporary = file.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush())
      return false;
  }
  fs::rename(temporary, file, error);
  if (error)
    fs::remove(temporary, error);
  return !error;
}

std::string ReadAll(const fs::path &file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}

// A value of the desktop entry: the key file's escaping doubles a backslash.
std::string DesktopValue(const std::string &text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\')
      escaped += '\\';
    escaped += c;
  }
  return escaped;
}

// One quoted argument of an Exec line. The quoting escapes ", `, $ and \ with a backslash, and
// the key file's escaping then doubles every backslash; % would start a field code.
std::string ExecArgument(const std::string &text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '`' || c == '$')
      quoted += "\\\\";
    else if (c == '\\')
      quoted += "\\\\\\";
    else if (c == '%')
      quoted += '%';
    quoted += c;
  }
  return quoted + '"';
}

// The program of an Exec line: bare where it holds nothing the format reserves, since the
// launcher of xdg-open outside a desktop environment runs the first word as it stands, quotes
// included; quoted where it must be.
std::string ExecProgram(const std::string &program) {
  if (program.find_first_of(" \t\"'\\><~|&;$*?#()`%") == std::string::npos)
    return program;
  return ExecArgument(program);
}

// "\"/opt/q/quintabell\" \"%1\"" -> /opt/q/quintabell: the program of an Open command.
std::string OpenCommandProgram(const std::string &command) {
  if (!command.empty() && command.front() == '"') {
    const std::size_t end = command.find('"', 1);
    return command.substr(1, end == std::string::npos ? std::string::npos : end - 1);
  }
  return command.substr(0, command.find(' '));
}

void Run(const char *tool, const fs::path &folder) {
  pid_t child = 0;
  const std::string where = folder.string();
  char *const arguments[] = {const_cast<char *>(tool), const_cast<char *>(where.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (posix_spawnp(&child, tool, &actions, nullptr, arguments, environ) == 0) {
    int status = 0;
    waitpid(child, &status, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
}

// Sets our type's line in the [Default Applications] group and keeps every other line.
void SetDefaultHandler(const fs::path &list, const std::string &type, const std::string &entry) {
  std::istringstream in(ReadAll(list));
  std::string out;
  std::string group;
  bool written = false;
  const std::string line = type + "=" + entry;
  for (std::string current; std::getline(in, current);) {
    if (!current.empty() && current.front() == '[') {
      if (group == "[Default Applications]" && !written) {
        out += line + "\n";
        written = true;
      }
      group = current;
    } else if (group == "[Default Applications]" && current.rfind(type + "=", 0) == 0) {
      continue;
    }
    out += current + "\n";
  }
  if (!written) {
    if (group != "[Default Applications]")
      out += "[Default Applications]\n";
    out += line + "\n";
  }
  WriteAtomically(list, out);
}

} // namespace

fs::path DataHome() {
  const char *data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && *data != '\0')
    return data;
  const char *home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "") / ".local" / "share";
}

fs::path IconPicture(const std::string &reference) {
  const std::size_t comma = reference.rfind(',');
  const fs::path file = reference.substr(0, comma);
  const std::string index = comma == std::string::npos ? "0" : reference.substr(comma + 1);
  std::error_code error;
  if (file.extension() == ".svg" || file.extension() == ".png") {
    return fs::is_regular_file(file, error) ? file : fs::path();
  }
  std::string stem = file.stem().string();
  const fs::path picture = file.parent_path() / (stem + "-icon" + Token(index) + ".svg");
  return fs::is_regular_file(picture, error) ? picture : fs::path();
}

void NotifyAssociationsChanged(const Registry &registry) {
  const fs::path data = DataHome();
  constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
  bool wrote = false;
  for (const std::string &key : registry.SubKeys(kClasses, "")) {
    if (key.size() < 2 || key.front() != '.')
      continue;
    const std::string className = registry.QueryValue(kClasses, key, "").value_or("");
    if (className.empty())
      continue;
    const std::string command =
        registry.QueryValue(kClasses, className + "\\shell\\Open\\command", "").value_or("");
    // A line end in the command would start a line of its own choosing in the desktop entry, a
    // second Exec= for one; such a class is not associated at all.
    if (command.empty() || HasControlCharacter(command))
      continue;
    const std::string name = Token(className);
    const std::string type = "application/x-" + name;
    const std::string iconName = "application-x-" + name;
    const std::string entry = std::string(kFilePrefix) + name + ".desktop";
    const std::string openProgram = OpenCommandProgram(command);

    const fs::path icon =
        IconPicture(registry.QueryValue(kClasses, className + "\\DefaultIcon", "").value_or(""));
    if (!icon.empty()) {
      const fs::path target = data / "icons" / "hicolor" / "scalable" / "mimetypes" /
                              (iconName + icon.extension().string());
      WriteAtomically(target, ReadAll(icon));
    }
    WriteAtomically(data / "mime" / "packages" / (std::string(kFilePrefix) + name + ".xml"),
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                    "  <mime-type type=\"" +
                        type +
                        "\">\n"
                        "    <comment>" +
                        XmlEscaped(className) +
                        "</comment>\n"
                        "    <icon name=\"" +
                        iconName +
                        "\"/>\n"
                        "    <glob pattern=\"*" +
                        XmlEscaped(Lower(key)) +
                        "\"/>\n"
                        "  </mime-type>\n"
                        "</mime-info>\n");
    std::string program = fs::path(openProgram).stem().string();
    if (!program.empty())
      program[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(program[0])));
    WriteAtomically(data / "applications" / entry,
                    "[Desktop Entry]\n"
                    "Type=Application\n"
                    "Name=" +
                        DesktopValue(program.empty() ? className : program) +
                        "\n"
                        "Comment=Open " +
                        DesktopValue(className) +
                        " files\n"
                        "Exec=" +
                        ExecProgram(openProgram) +
                        " %f\n"
                        "Icon=" +
                        iconName +
                        "\n"
                        "MimeType=" +
                        type +
                        ";\n"
                        "NoDisplay=true\n"
                        "Terminal=false\n");
    SetDefaultHandler(data / "applications" / "mimeapps.list", type, entry);
    wrote = true;
  }
  if (!wrote)
    return;
  Run("update-mime-database", data / "mime");
  Run("update-desktop-database", data / "applications");
}

} // namespace platform
