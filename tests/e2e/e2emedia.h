#pragma once

#include <QString>

#include <optional>

namespace orvane::e2e {

// Media for the stories, made by ffmpeg once per build tree. Every clip has
// its own title tag where its format keeps one.
QString mp3Clip(const QString &title, double seconds);
// RealAudio 1.0 in RealMedia, as ffmpeg writes it (no packet times).
QString realAudioClip(double seconds);
// RealVideo 1.0 with RealAudio 1.0: the second engine with a picture.
QString realVideoClip(double seconds);
// Bytes no engine takes for media, named like an MP3.
QString brokenMp3();

// The position and length of a status line "01:02.50 / 03:00.00     Playing"
// in seconds, and its last word.
std::optional<double> statusPosition(const QString &status);
std::optional<double> statusLength(const QString &status);
QString statusWord(const QString &status);

} // namespace orvane::e2e
