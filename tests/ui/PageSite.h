#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support/TemporaryFolder.h"

// Files for pages under test: a small site spread over several folders, as generated
// documentation lays itself out.

// A red pixel.
inline constexpr char kGif[] =
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00\x00\x00\x00,"
    "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
inline constexpr std::string_view kGifBytes(kGif, sizeof kGif - 1);
inline constexpr char kFont[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

inline void Write(const std::filesystem::path& path, std::string_view content) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string Replaced(std::string text, std::string_view from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// A tenth of a second of quiet mono sound, as a WAV file.
inline std::string QuietWav() {
  const auto le = [](std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
  };
  const std::uint32_t samples = 800, rate = 8000, dataBytes = samples * 2;
  return "RIFF" + le(36 + dataBytes, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
         le(rate, 4) + le(rate * 2, 4) + le(2, 2) + le(16, 2) + "data" + le(dataBytes, 4) +
         std::string(dataBytes, '\x01');
}

// The page under test lies in docs/, its resources beside it and in sibling folders, and files a
// page must never read in secret/. "ROOT" in a page stands for the site's "file:" URL.
struct Site {
  TemporaryFolder folder;

  Site() {
    const std::filesystem::path& root = folder.Path();
    Write(root / "docs/s.css", "body { color: rgb(1, 2, 3); }");
    Write(root / "docs/s.txt", "body { color: rgb(4, 5, 6); }");
    Write(root / "docs/q.html", "<title>Q</title><body>secret</body>");
    Write(root / "docs/i.gif", kGifBytes);
    Write(root / "docs/m.mjs", "export const x = 'module';");
    Write(root / "docs/w.js", "postMessage('worker ran');");
    Write(root / "docs/a.wav", QuietWav());
    Write(root / "docs/t.vtt", "WEBVTT\n\n00:00.000 --> 00:05.000\nsecret cue\n");
    Write(root / "img/i.gif", kGifBytes);
    Write(root / "lib/s.js", "window.libraryLoaded = true;");
    Write(root / "frames/f.html", "<script>parent.postMessage('framed', '*');</script>");
    Write(root / "secret/app.env", "DB_PASSWORD=\"hunter2\"\n");
    Write(root / "secret/data.json", "{\"password\": \"hunter2\"}");
    Write(root / "secret/settings", "DB_PASSWORD=\"hunter2\"\n");
    Write(root / "docs/app.env.download", "DB_PASSWORD=\"hunter2\"\n");
    Write(root / "docs/app.env?x.js", "DB_PASSWORD=\"hunter2\"\n");
    Write(root / "docs/keys/id_rsa", "DB_PASSWORD=\"hunter2\"\n");
    Write(root / "docs/.config/settings", "DB_PASSWORD=\"hunter2\"\n");
    std::filesystem::create_symlink("../secret/app.env", root / "docs/cfg.js");
    std::filesystem::create_directories(root / "fonts");
    std::filesystem::create_symlink(kFont, root / "fonts/f.ttf");
  }

  std::string Root() const { return "file://" + folder.Path().string(); }
};
