#pragma once
// A locale whose decimal point is a comma, as on a German desktop, for tests that numbers
// are read and written the same in every locale. The window's toolkit switches the process
// to the user's locale, so the C library's number functions would follow it.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace brixo::test {

class CommaLocale {
 public:
  // Switches the whole process to the comma locale; Active() tells whether that worked.
  CommaLocale() {
    active_ = Switch() || (Generated().Ready && Switch());
  }
  ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool Active() const { return active_; }

 private:
  static bool Switch() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
      if (std::setlocale(LC_ALL, name) != nullptr && std::string(std::localeconv()->decimal_point) == ",") {
        return true;
      }
    }
    std::setlocale(LC_ALL, "C");
    return false;
  }

  // Machines without the compiled locale still have its sources (Debian's "locales"): it
  // is compiled once per test program into a folder of its own, removed at the end.
  struct Folder {
    std::filesystem::path Path;
    bool Ready = false;
    Folder() {
      std::error_code error;
      Path = std::filesystem::temp_directory_path(error) / ("brixo-locale-" + std::to_string(::getpid()));
      std::filesystem::create_directories(Path, error);
      const std::string command =
          "localedef -i de_DE -f UTF-8 '" + (Path / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
      Ready = !error && std::system(command.c_str()) == 0;
      if (Ready) ::setenv("LOCPATH", Path.c_str(), 1);
    }
    ~Folder() {
      std::error_code error;
      std::filesystem::remove_all(Path, error);
    }
  };
  static const Folder& Generated() {
    static const Folder folder;
    return folder;
  }

  bool active_ = false;
};

}  // namespace brixo::test
