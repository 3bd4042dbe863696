#pragma once
// The ids of the installer's texts in its edition of the language tables.

namespace InstallerStrings {
inline constexpr int LanguageName = 0;
inline constexpr int Cancel = 18;
inline constexpr int Agree = 128;
inline constexpr int Disagree = 129;
inline constexpr int InstallCaption = 172;
inline constexpr int DesktopIcons = 175;
inline constexpr int StartMenuIcons = 176;
inline constexpr int FolderLabel = 177;
inline constexpr int Change = 178;
inline constexpr int Install = 179;
inline constexpr int Stop = 180;
inline constexpr int CancelInstallation = 182;
inline constexpr int SetupSuccessful = 183;
inline constexpr int UninstallDescription = 230;
inline constexpr int Continue = 231;
inline constexpr int UninstallCaption = 232;
inline constexpr int CannotCreateFolder = 234;
inline constexpr int CannotOpenLog = 235;
inline constexpr int CannotOpenArchive = 236;
inline constexpr int InstallationIncomplete = 292;
inline constexpr int ArchiveNameOutside = 293;
} // namespace InstallerStrings
