#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <initializer_list>

#include "ranking/Ranking.h"

namespace vornel::test {

// One file line of quoted fields with CR LF.
inline QByteArray Line(std::initializer_list<const char*> fields) {
  QByteArray out;
  for (const char* f : fields) {
    if (!out.isEmpty()) out += ',';
    out += '"';
    out += f;
    out += '"';
  }
  return out + "\r\n";
}

inline RankEntry Entry(int level, int place, const char* name, const char* time,
                       const char* date = "2024/05/01 10:00:00") {
  return {QString::number(level), QString::number(place), QString::fromUtf8(name),
          QString::fromUtf8(time), QString::fromUtf8(date)};
}

// Fills a level with times 0:01:00, 0:02:00, ... unless `times` says otherwise.
inline void FillLevel(Ranking& r, int level, std::initializer_list<const char*> times = {}) {
  int place = 0;
  for (const char* t : times) {
    r.at(level, place) = Entry(level, place, "p", t);
    ++place;
  }
  for (; place < kShownPlaces; ++place) {
    r.at(level, place) = Entry(level, place, "p", "");
    r.at(level, place).Time = QStringLiteral("0:%1:00").arg(place + 1, 2, 10, QLatin1Char('0'));
  }
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline Candidate Cand(int level, const char* name, const char* time,
                      const char* date = "2024/06/01 09:00:00") {
  return {QString::number(level), QString::fromUtf8(name), QString::fromUtf8(time),
          QString::fromUtf8(date)};
}

}  // namespace vornel::test
