#pragma once

#include <string>

// A fresh directory under TMPDIR, removed with everything in it when the object goes.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string Path(const std::string& name) const { return Dir + "/" + name; }
  // Writes text to name and returns its path.
  std::string Write(const std::string& name, const std::string& text) const;

private:
  std::string Dir;
};

std::string ReadFile(const std::string& path);
