#pragma once
// The saved page file ("*.QRP"): a page model on disk in a format of our
// own: the magic "KALMORA-QRP", a version, the length and CRC-32 of the
// body, and the body (title, paper, fonts, pages of items). Pages are
// written and read one at a time, so that a long report is saved and opened
// in little memory. Loading checks every count and length against the bytes
// that are there, and the checksum of the whole body, so a damaged, cut or
// foreign file is refused with a clear message and never allocates more than
// the file's own size.

#include "PageModel.h"

#include <QByteArray>
#include <functional>

namespace kal::report {

// The message of a refused file.
QString DamagedPageFileText();

// `pageDone`, when given, hears of every page saved (the number of pages
// saved so far).
QByteArray SavePages(const PageModel& model, const std::function<void(int pagesDone)>& pageDone = {});
// Throws kal::Exception with DamagedPageFileText() when `data` is not a
// sound page file.
PageModel LoadPages(const QByteArray& data);

// Files: throw kal::Exception when the file cannot be written or read, or
// is not a sound page file.
void SavePageFile(const PageModel& model, const QString& fileName,
                  const std::function<void(int pagesDone)>& pageDone = {});
PageModel LoadPageFile(const QString& fileName);

} // namespace kal::report
