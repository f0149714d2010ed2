/* String numbers of the language modules (lang\*.dll). The configuration program loads every
   user-visible text by these numbers, so each module defines all of them; a module that lacks one
   shows an empty text there. Plain C macros: the .rc files and C++ code both include this file. */
#ifndef TOLK_LANGUAGE_STRINGS_H
#define TOLK_LANGUAGE_STRINGS_H

/* Word in front of every hint in the status line; the program appends " : " itself. */
#define IDS_STATUS_PREFIX 1000

/* Hints of the main window's controls. */
#define IDS_HINT_MINIMIZE 1001
#define IDS_HINT_CLOSE 1002
#define IDS_HINT_TAB_KEYS 1003
/* 1004, 1009 and 1013 belong to no control at present; they are defined so that every number of
   the hint range has a text in every module. */
#define IDS_HINT_KEY_LOCATION 1004
#define IDS_HINT_KEY_BUTTON 1005
#define IDS_HINT_MODE 1006
#define IDS_HINT_KEY_SWITCH 1007
#define IDS_HINT_RESET 1008
#define IDS_HINT_PROFILE_CHOICE 1009
#define IDS_HINT_GAME_PROFILE_NEW 1010
#define IDS_HINT_IMPORT 1011
#define IDS_HINT_EXPORT 1012
#define IDS_HINT_GAME_LINK 1013
#define IDS_HINT_GAME_PROFILE_EDIT 1014
/* Profile slot buttons 1-5 and the labels that show the names of profiles 1-5: the number of slot n
   is IDS_HINT_SLOT1 + n - 1, of label n IDS_HINT_PROFILE_NAME1 + n - 1. */
#define IDS_HINT_SLOT1 1015
#define IDS_HINT_SLOT2 1016
#define IDS_HINT_SLOT3 1017
#define IDS_HINT_SLOT4 1018
#define IDS_HINT_SLOT5 1019
#define IDS_HINT_PROFILE_NAME1 1020
#define IDS_HINT_PROFILE_NAME2 1021
#define IDS_HINT_PROFILE_NAME3 1022
#define IDS_HINT_PROFILE_NAME4 1023
#define IDS_HINT_PROFILE_NAME5 1024
#define IDS_HINT_OK 1025
#define IDS_HINT_APPLY 1026
#define IDS_HINT_CANCEL 1027
/* Update page tab, and the open button of the update and the help page. */
#define IDS_HINT_UPDATE 1028
#define IDS_HINT_HELP 1029

/* What the status line says after an apply: saved and sent to the keyboard; saved while the host
   does not run; saved but the host did not answer; not saved (nothing was applied). */
#define IDS_STATUS_APPLIED 1030
#define IDS_STATUS_SAVED_NO_HOST 1031
#define IDS_STATUS_HOST_NO_ANSWER 1032
#define IDS_STATUS_NOT_SAVED 1033
/* After the macro manager saved macros in which a pause longer than 65535 ms was cut to 65535 ms. */
#define IDS_STATUS_PAUSES_CAPPED 1034

/* After an apply: saved, but the host's block could not be taken (the keyboard was not updated);
   applied, but the macro library could not be written. */
#define IDS_STATUS_HOST_BUSY 1035
#define IDS_STATUS_MACROS_NOT_SAVED 1036
/* TolkHid changed what the user had edited but not applied, and its change won. "{slot}" stands for
   the profile number 1-5 and "{key}" for the key number 1-5 (G1-G5): key of a profile; name or
   games of a profile; media player of a profile; the chosen profile (the one TolkHid switched to);
   the mode or a key switch; and an edit made in a dialog while TolkHid changed the same thing. */
#define IDS_STATUS_DROPPED_KEY 1037
#define IDS_STATUS_DROPPED_GAMES 1038
#define IDS_STATUS_DROPPED_PLAYER 1039
#define IDS_STATUS_DROPPED_SLOT 1040
#define IDS_STATUS_DROPPED_SWITCH 1041
#define IDS_STATUS_DIALOG_DROPPED 1042

/* Why a name cannot be a profile's name (the game profile dialog shows it, import and export put it
   on the status line): empty; reserved or control characters; a device name; a trailing dot; too
   long for the path; another profile's name ("{slot}" its number). */
#define IDS_NAME_EMPTY 1043
#define IDS_NAME_RESERVED 1044
#define IDS_NAME_DEVICE 1045
#define IDS_NAME_TRAILING_DOT 1046
#define IDS_NAME_TOO_LONG 1047
#define IDS_NAME_TAKEN 1048
/* Import and export: no profile slot chosen; imported; imported under a name made unique because
   profile {slot} has the file's name; file not read; exported; exported, but the slot keeps its
   name because profile {slot} has the file's; file not written; copy in the config folder not
   written; the chosen file is another profile's or the program's own. Then an apply refused
   because profile {slot} has a name that cannot be saved. */
#define IDS_STATUS_NO_SLOT 1049
#define IDS_STATUS_IMPORTED 1050
#define IDS_STATUS_IMPORTED_RENAMED 1051
#define IDS_STATUS_IMPORT_NOT_READ 1052
#define IDS_STATUS_EXPORTED 1053
#define IDS_STATUS_EXPORTED_NAME_KEPT 1054
#define IDS_STATUS_EXPORT_NOT_WRITTEN 1055
#define IDS_STATUS_EXPORT_COPY_FAILED 1056
#define IDS_STATUS_EXPORT_FORBIDDEN 1057
#define IDS_STATUS_NAME_NOT_SAVED 1058
/* While an apply waits for TolkHid's answer: the files are saved and TolkHid updates the keyboard. */
#define IDS_STATUS_UPDATING 1059

/* Short captions of the main window's picture buttons and of the key page's reset and mode
   buttons, which share the window: their accessible names, each with its access key marked by '&'
   ("&Apply": Alt+A presses the button). No two captions of one module mark the same letter. A
   module without them names the buttons with their hints and gives them no access key. Page tabs
   Keys, Update and Help; OK, Apply, Cancel; Import, Export; new and edit game profile; reset;
   minimize, close; mode. */
#define IDS_CAPTION_TAB_KEYS 1060
#define IDS_CAPTION_UPDATE 1061
#define IDS_CAPTION_HELP 1062
#define IDS_CAPTION_OK 1063
#define IDS_CAPTION_APPLY 1064
#define IDS_CAPTION_CANCEL 1065
#define IDS_CAPTION_IMPORT 1066
#define IDS_CAPTION_EXPORT 1067
#define IDS_CAPTION_GAME_PROFILE_NEW 1068
#define IDS_CAPTION_GAME_PROFILE_EDIT 1069
#define IDS_CAPTION_RESET 1070
#define IDS_CAPTION_MINIMIZE 1071
#define IDS_CAPTION_CLOSE 1072
#define IDS_CAPTION_MODE 1073
/* First and last number of the short captions. */
#define IDS_CAPTION_FIRST 1060
#define IDS_CAPTION_LAST 1073

/* First and last number every language module defines. */
#define IDS_LANGUAGE_FIRST 1000
#define IDS_LANGUAGE_LAST 1073

#endif
