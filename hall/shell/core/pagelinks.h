#pragma once
// Links that hall pages follow to give the hall a command instead of loading a page. The
// text is the link as the page wrote it (see LinkFromNavigation in the UI library); prefixes
// are compared without regard to case, arguments are taken as written.

#include <QString>

namespace velmora::hall {

inline const QString kDialogScheme = QStringLiteral("dialog://");
inline const QString kPropScheme = QStringLiteral("prop://");
inline const QString kAddFriendScheme = QStringLiteral("addfriend://");
inline const QString kGamePrefix = QStringLiteral("game:");

enum class PageLink { Page, Dialog, Game, Prop, AddFriend };
PageLink ClassifyPageLink(const QString& link);

// "dialog://" + width + "_" + height + "@" + target.
struct DialogLink {
    int width = 400;
    int height = 300;
    QString target;
};
inline constexpr int kDefaultDialogWidth = 400;
inline constexpr int kDefaultDialogHeight = 300;
// A size outside 1..kMaxDialogSide counts as "not a number" and takes the default.
inline constexpr int kMaxDialogSide = 4096;
// Width and height fall back separately; without "@" the whole text is the target.
DialogLink ParseDialogLink(const QString& link);

// "17|msg=.prop" + UrlEncodeText("|" + the arguments after "prop://").
QString PropCommandLine(const QString& link);
// The id after "addfriend://" with every "/" removed, as a 64-bit number (0 when invalid).
qint64 AddFriendId(const QString& link);
// "19|recvid=" + id + "&msg=addfriend".
QString AddFriendCommandLine(qint64 userId);

// A tab shows a title whole up to 18 characters, else its first 16 and "...".
QString TabCaption(const QString& title);
// A dialog takes a page title as its caption unless it begins with "http".
bool DialogTakesTitle(const QString& title);

}  // namespace velmora::hall
