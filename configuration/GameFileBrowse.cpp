#include "GameFileBrowse.h"

std::string FileDialogFilter(std::string_view barSeparated)
{
    std::string filter(barSeparated);
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    if (filter.empty() || filter.back() != '\0')
        filter += '\0';
    filter += '\0';
    return filter;
}

GameFileQuestion GameFileQuestionFor(std::string_view desktopFolder)
{
    GameFileQuestion question;
    question.filter = FileDialogFilter("exe file(*.exe)|*.EXE|");
    // The system appends the first three characters of this to a name typed without an extension,
    // so it carries neither the star nor the dot ("*.exe" would make "game.*.e").
    question.defaultExtension = "exe";
    question.initialFile = std::string(desktopFolder) + "\\.exe";
    return question;
}
