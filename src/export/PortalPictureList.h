#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// Turns the saved listing reply "Korvex_Foto.txt" into the portal picture
// list "Obr_FTP_List.txt" (both in the executable folder): the lower-case
// name between the two double quotes of every line that holds
// picture name=" and exactly two double quotes, TABs removed. Throws
// ModuleError naming the file when either file cannot be opened.
void BuildPortalPictureList(const QString &executableFolder);

// The names of a reply, as BuildPortalPictureList writes them.
QStringList PortalPictureNames(const QStringList &replyLines);

} // namespace korvex
