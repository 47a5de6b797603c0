#pragma once

// Numbers of the string-table entries the core refers to by name.
namespace rvq::sid {

inline constexpr int kOleInitFailed = 100;
inline constexpr int kHelpFile = 150;
inline constexpr int kJapaneseLibrary = 151;
inline constexpr int kIniFileError = 152;

// VQTool.INI sections.
inline constexpr int kSecHeader = 500;
inline constexpr int kSecLanguage = 501;
inline constexpr int kSecPrinter = 502;
inline constexpr int kSecCom = 503;
inline constexpr int kSecLan = 504;
inline constexpr int kSecLanMulti = 505;
inline constexpr int kSecCommand = 506;
inline constexpr int kSecTtfDownload = 507;
inline constexpr int kSecTimeout = 508;
inline constexpr int kSecEnhance = 509;
inline constexpr int kSecUsb = 510;
inline constexpr int kSecTestPrint = 511;
inline constexpr int kSecDownloadMode = 512;

// VQTool.INI keys.
inline constexpr int kKeyTitle = 520;
inline constexpr int kKeyVersion = 521;
inline constexpr int kKeyLanguage = 523;
inline constexpr int kKeyPrinter = 524;
inline constexpr int kKeyDevice = 525;
inline constexpr int kKeyBps = 526;
inline constexpr int kKeyData = 527;
inline constexpr int kKeyStop = 528;
inline constexpr int kKeyParity = 529;
inline constexpr int kKeyFlow = 530;
inline constexpr int kKeyName = 531;
inline constexpr int kKeyPort = 532;
inline constexpr int kKeyCount = 533;
inline constexpr int kKeyNameN = 534;
inline constexpr int kKeyPortN = 535;
inline constexpr int kKeyType = 536;
inline constexpr int kKeyCode1 = 537;
inline constexpr int kKeyCode2 = 538;
inline constexpr int kKeyCode3 = 539;
inline constexpr int kKeyPath = 540;
inline constexpr int kKeyWaitTime = 541;
inline constexpr int kKeyTypeFree = 542;
inline constexpr int kKeyProductId = 543;
inline constexpr int kKeySerialNo = 544;
inline constexpr int kKeyDestination = 545;
inline constexpr int kKeyDlMode = 546;
inline constexpr int kKeySlash1 = 770;  // 770..777: SLASH1 .. BARCODE600

// Default values.
inline constexpr int kDefTitle = 550;
inline constexpr int kDefVersion = 551;
inline constexpr int kDefLanguage = 552;
inline constexpr int kDefPrinter = 553;
inline constexpr int kDefDevice = 554;
inline constexpr int kDefBps = 555;
inline constexpr int kDefData = 556;
inline constexpr int kDefStop = 557;
inline constexpr int kDefParity = 558;
inline constexpr int kDefFlow = 559;
inline constexpr int kDefCommandType = 560;
inline constexpr int kDefCode1 = 561;
inline constexpr int kDefCode2 = 562;
inline constexpr int kDefCode3 = 563;
inline constexpr int kDefWaitTime = 564;
inline constexpr int kDefDestination = 565;
inline constexpr int kDefProductId = 566;
inline constexpr int kDefLanName = 567;

inline constexpr int kFlowFirst = 650;  // 650..654: the five flow-control texts

inline constexpr int kJobLogHeader = 1200;

}  // namespace rvq::sid
