#pragma once

#include <QString>

namespace velinor::platform::qt {

// The requesters that remember where the user left them.
enum class RequesterKind { Open, Save, Folder };

// Where a requester opens when the program names no folder, as desktop programs do: the folder
// this kind of requester was last left in (kept across starts in the user's configuration
// folder), else the user's pictures folder (XDG PICTURES), else the home folder. Folders that
// no longer exist are passed over.
QString RequesterStartFolder(RequesterKind kind);

// The user's pictures folder, else home: where the batch tab's folder browser starts when the
// program names no folder.
QString PicturesFolder();

// Keeps folder (a folder, or the folder of a file) as the start of the next requester of kind.
void RememberRequesterFolder(RequesterKind kind, const QString& fileOrFolder);

}  // namespace velinor::platform::qt
