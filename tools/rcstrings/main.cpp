// quarnel-rcstrings: compiles the string tables of .rc files into a C source
// that defines the table quarnel_string_table, for platforms whose modules
// have no resources. The build runs it (see cmake/QuarnelStringTable.cmake);
// a fault in a script stops the build with "file.rc:LINE: error: ...".
//
//   quarnel-rcstrings [-I DIR]... [-D NAME[=VALUE]]... [-d DEPFILE] -o OUT.c FILE.rc...
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "rc_compiler.hpp"

namespace {

constexpr const char* kUsage =
    "usage: quarnel-rcstrings [-I DIR]... [-D NAME[=VALUE]]... [-d DEPFILE] -o OUT.c "
    "FILE.rc...\n";

int usage(const char* problem) {
  std::cerr << "quarnel-rcstrings: error: " << problem << "\n" << kUsage;
  return 2;
}

// Help and version go to standard output; a failed write is an error.
int print(const std::string& text) {
  std::cout << text << std::flush;
  return std::cout ? 0 : 1;
}

int help() {
  return print(std::string(kUsage) +
               "\nCompiles the STRINGTABLE blocks of .rc files into a C source that defines\n"
               "quarnel_string_table, for platforms whose modules have no resources.\n\n"
               "  -I DIR            search DIR for #include files\n"
               "  -D NAME[=VALUE]   define a preprocessor macro\n"
               "  -o OUT.c          the C source to write\n"
               "  -d DEPFILE        also write the files read, as a make rule\n"
               "  -h, --help        show this help\n"
               "  -V, --version     show the version\n\n"
               "A fault in a script is reported as FILE:LINE: error: MESSAGE. Exit status:\n"
               "0 success, 1 an error in a script or a failed write, 2 a usage error.\n");
}

// Make's quoting: spaces and '#' escaped with a backslash, '$' doubled.
std::string make_quoted(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == ' ' || c == '#') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

bool write_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  rcstrings::Options options;
  std::vector<std::string> scripts;
  std::string output;
  std::string depfile;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") return help();
    if (arg == "-V" || arg == "--version") return print("quarnel-rcstrings " QUARNEL_VERSION "\n");
    bool takes_value = arg == "-I" || arg == "-D" || arg == "-o" || arg == "-d";
    if (takes_value && i + 1 >= argc) return usage(("missing value after " + arg).c_str());
    if (takes_value) {
      std::string value = argv[++i];
      if (arg == "-I") options.include_dirs.push_back(value);
      if (arg == "-D") options.defines.push_back(value);
      if (arg == "-o") output = value;
      if (arg == "-d") depfile = value;
    } else if (arg.size() > 2 && arg.compare(0, 2, "-I") == 0) {
      options.include_dirs.push_back(arg.substr(2));
    } else if (arg.size() > 2 && arg.compare(0, 2, "-D") == 0) {
      options.defines.push_back(arg.substr(2));
    } else if (!arg.empty() && arg[0] == '-') {
      return usage(("unknown option " + arg).c_str());
    } else {
      scripts.push_back(arg);
    }
  }
  if (output.empty()) return usage("no output file (-o)");
  if (scripts.empty()) return usage("no .rc file");

  rcstrings::Result result;
  try {
    result = rcstrings::compile(scripts, options);
  } catch (const rcstrings::Error& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  if (!write_file(output, rcstrings::to_c_source(result.blocks))) {
    std::cerr << "quarnel-rcstrings: error: cannot write " << output << "\n";
    return 1;
  }
  if (!depfile.empty()) {
    std::string deps = make_quoted(output) + ":";
    for (const std::string& f : result.files) deps += " \\\n  " + make_quoted(f);
    if (!write_file(depfile, deps + "\n")) {
      std::cerr << "quarnel-rcstrings: error: cannot write " << depfile << "\n";
      return 1;
    }
  }
  return 0;
}
