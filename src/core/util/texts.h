#pragma once

// The program's own user-visible texts, character for character (odd spacing and spelling
// included: the processor's users know them). Everything the user reads comes from here.

namespace kvr::core::texts {

// ---- Main window and start-up ----------------------------------------------------------
inline constexpr const char* kMainTitle = "KVR - 610 Loudspeaker Management System";
inline constexpr const char* kNoName = "NoName";
inline constexpr const char* kApplicationTitle = "KVR 610 V4.4";
// Tool button hints.
inline constexpr const char* kHintNew = "New File";
inline constexpr const char* kHintOpen = "Open File";
inline constexpr const char* kHintSave = "Save to File";
inline constexpr const char* kHintAbout = "About us";
inline constexpr const char* kHintReport = "Generate Report";
inline constexpr const char* kHintUpdateSystem = "Update System";
inline constexpr const char* kHintReset = "Reset Processor";
inline constexpr const char* kHintGetSystem = "Get System";
inline constexpr const char* kHintGetVersion = "Get Version";
inline constexpr const char* kHintLock = "LOCK Keyboard Entry";
inline constexpr const char* kHintUnlock = "UNLOCK Keyboard Entry";
inline constexpr const char* kHintPassword = "Set Password";
inline constexpr const char* kHintConnect = "Connect";
inline constexpr const char* kHintRead = "Read Programs from Processor";
inline constexpr const char* kHintStore = "Store Configuration into Processor";
inline constexpr const char* kHintChange = "Change Configuration";
inline constexpr const char* kHintMemory = "Select Memory to Load / Store";
inline constexpr const char* kHintEthernet = "ETHERNET";
// Menus.
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuNew = "&New";
inline constexpr const char* kMenuOpen = "&Open";
inline constexpr const char* kMenuSave = "&Save";
inline constexpr const char* kMenuSaveAs = "Save &As";
inline constexpr const char* kMenuReport = "Generate &Report";
inline constexpr const char* kMenuExit = "E&xit";
inline constexpr const char* kMenuConfiguration = "&Configuration";
inline constexpr const char* kMenuSystemName = "&System Name";
inline constexpr const char* kMenuInptutsOutputs = "&Inptuts && Outputs";
inline constexpr const char* kMenuPassword = "&Password";
inline constexpr const char* kMenuKeybLock = "&Keyb LOCK";
inline constexpr const char* kMenuKeybUnlock = "Keyb &UNLOCK";
inline constexpr const char* kMenuConnect = "&Connect Sonaveld";
inline constexpr const char* kMenuProgram = "Program &Sonaveld";
inline constexpr const char* kMenuGetConfigurations = "&Get Configurations";
inline constexpr const char* kMenuGetVersion = "Get &DSP Version";
inline constexpr const char* kMenuUpdate = "Update DSP Soft&Ware";
inline constexpr const char* kMenuView = "&View";
inline constexpr const char* kMenuInputsOutputs = "&Inputs && Outputs";
inline constexpr const char* kMenuGains = "&Gains";
inline constexpr const char* kMenuPeq = "&PEQ";
inline constexpr const char* kMenuXover = "&XOver";
inline constexpr const char* kMenuPeqx = "PE&QX";
inline constexpr const char* kMenuDynamics = "&Dynamics";
inline constexpr const char* kMenuInputDelays = "Input De&lays";
inline constexpr const char* kMenuOutputDelays = "&Output Delays";
inline constexpr const char* kMenuCopyOutputs = "Cop&y Outputs";
inline constexpr const char* kMenuHelp = "&Help";
inline constexpr const char* kMenuAbout = "&About SONAVELD";
// Block diagram.
inline constexpr const char* kInputAName = "In A";
inline constexpr const char* kInputBName = "In B";
inline constexpr const char* kInputMixCaption = "A+B";
inline constexpr const char* kOutputNames[4] = {"Out1", "Out2", "Out3", "Out4"};
inline constexpr const char* kSystemButton = "SYSTEM";
inline constexpr const char* kCopyButton = "Copy";
inline constexpr const char* kModeLabel = "Mode";
inline constexpr const char* kMemoryLabel = "Memory";
inline constexpr const char* kNoFrequency = "--";
inline constexpr const char* kZeroDelay = "0.0 ms";
inline constexpr const char* kMuteCross = "X";
inline constexpr const char* kMuteText = "MUTE";
inline constexpr const char* kLibraryMakerButton = "Library Maker";
inline constexpr const char* kMemoryBlocked = "Memory Blocked";
inline constexpr const char* kRouteGlyphs[3] = {"A", "A+B", "B"};
// Questions and messages.
inline constexpr const char* kFreeModeQuestion =
    "WARNING!!! You are NOT in Free Mode Operation. Do you want to work in Free Mode?";
inline constexpr const char* kSaveQuestion = "Do you want to save the present configuration?";
inline constexpr const char* kProgrammed = "This Program has been programed.";
inline constexpr const char* kWaitForExchange =
    "The KVR 610 is busy. Please wait until the communication ends.";
inline constexpr const char* kWaitForLoad = "Please wait until the file is loaded.";
// File dialogs.
inline constexpr const char* kOpenDialogTitle = "Open KVR 610 File";
inline constexpr const char* kSaveDialogTitle = "Save KVR 610 File";
inline constexpr const char* kConfigFilter = "KVR 610 Files *.kv4|*.kv4|All Files *.*|*.*";
inline constexpr const char* kConfigExtension = "kv4";
// About window.
inline constexpr const char* kAboutCaption = "About KVR 610  V 4.7";
inline constexpr const char* kAboutVersion = "KVR 610  V 4.7";
inline constexpr const char* kAboutBuild = "Build ";
inline constexpr const char* kAboutProduct = "Loudspeaker Management System";
inline constexpr const char* kAboutMaker = "Orvanetix S.A.";
inline constexpr const char* kAboutWeb = "https://www.kvr610.example";
inline constexpr const char* kAboutMail = "support@kvr610.example";
inline constexpr const char* kAboutWebCaption = "Web site";
inline constexpr const char* kAboutMailCaption = "Support";
// Password window.
inline constexpr const char* kPasswordCaption = "Password";
inline constexpr const char* kPasswordGroup = "Press Password ";
inline constexpr const char* kPasswordClear = "Clear Password";
inline constexpr const char* kPasswordActive = "Password Active";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "Cancel";
// Connection window and status labels.
inline constexpr const char* kConnectionCaption = "Select COM Port";
inline constexpr const char* kConnectionHeading = "Select Connection";
inline constexpr const char* kChoiceOffline = "Offline";
inline constexpr const char* kChoiceUsb = "USB";
inline constexpr const char* kChoiceEthernet = "ETHERNET";
inline constexpr const char* kStatusNoConnected = "No Connected";
inline constexpr const char* kStatusSpacedOffline = "Status : Offline";
// Shared with the links and the protocol (defined there once they arrive).
inline constexpr const char* kStatusOffline = "Status: Offline";
inline constexpr const char* kCommWindowTitle = "KVR 610 Communications";
inline constexpr const char* kCommConnecting = "Conecting...";
inline constexpr const char* kCommBaudrate = "Baudrate : 38400 bps";
// Ethernet module window.
inline constexpr const char* kEthernetCaption = "ETHERNET";
inline constexpr const char* kScanGroup = "1.- Scan Devices";
inline constexpr const char* kScanButton = "Scan";
inline constexpr const char* kSelectGroup = "2.- Select Processor";
inline constexpr const char* kConnectGroup = "3.- Establish  Connection";
inline constexpr const char* kConnectButton = "Connect";
inline constexpr const char* kNoModuleIp = "IP";
inline constexpr const char* kIpManagement = "IP Management";
inline constexpr const char* kChangeIpButton = "Change IP";
inline constexpr const char* kHostNamePlaceholder = "HOST NAME";
inline constexpr const char* kChangeHostButton = "Change Host Name";
inline constexpr const char* kIdentifyButton = "Identify Processor";
inline constexpr const char* kIdentifyHint = "Blink Ethernet LEDS";
inline constexpr const char* kScanning = "Scaning ...";
inline constexpr const char* kDevicesDetected = ".- Devices detected";
inline constexpr const char* kNoDevicesFound = "No Devices Found";
inline constexpr const char* kSelectProcessorFirst = "You must Select a Processor from the Drop Down List";
inline constexpr const char* kDeleteLineQuestion = "Do you want to Delete: ";
// Library maker window.
inline constexpr const char* kLibraryCaption = "Library Maker";
inline constexpr const char* kLibraryLabel = "Library:";
inline constexpr const char* kLoadFiles = "Load Files";
inline constexpr const char* kSaveLibrary = "Save Library";
inline constexpr const char* kOpenLibrary = "Open Library";
inline constexpr const char* kSendLibrary = "Send Library";
inline constexpr const char* kSendLibraryHint = "Send library to the processor";
inline constexpr const char* kConnectedLabel = "Connected :";
inline constexpr const char* kLibraryFilter = "KVR 610 Library *.kvl|*.kvl|All Files *.*|*.*";
inline constexpr const char* kLibraryExtension = "kvl";
inline constexpr const char* kLoadBeforeSaving = "You must to Load the files before saving";
inline constexpr const char* kOpenBeforeSending = "You must open a library before the sending";
inline constexpr const char* kConnectBeforeSending = "You must be connected not offline";

// ---- Configuration files ---------------------------------------------------------------
inline constexpr const char* kNotAKvrFile = " is not a KVR 610 File";
inline constexpr const char* kOlderKvrFile =
    " is not a KVR 610 File or is an older version (then re-save the file to translate it to VERSION 4.70";
inline constexpr const char* kOpeningFile = "Opening ";
inline constexpr const char* kLoadReadingHeader = "Reading VERSION and HEADER...";
inline constexpr const char* kLoadReadingGains = "Reading Gains, Delays and Polarity...";
inline constexpr const char* kLoadReadingPeq = "Reading and Designing PEQ Equalization...";
inline constexpr const char* kLoadReadingPeqx = "Reading and Designing PEQX Equalization...";
inline constexpr const char* kLoadReadingXover = "Reading and Designing XOVER... ";
inline constexpr const char* kLoadReadingDynamics = "Reading and Designing Dynamics...";
inline constexpr const char* kLoadDone = "DONE";
inline constexpr const char* kProgressCaption = "Opening KVR 610  File";
inline constexpr const char* kUnableToOpen = "Unable to open ";
inline constexpr const char* kUnableToRead = "Unable to read ";
inline constexpr const char* kUnableToWrite = "Unable to write ";

// ---- Crossover and dynamics design -----------------------------------------------------
// Type lists of the equaliser editors (item index = section type code 0..11).
inline constexpr const char* kSectionTypeCaptions[12] = {
    "Bypass",         "Parametric adapt Q", "Shelv Low 6dB", "Shelv Low 12dB", "Shelv High 6dB", "Shelv High 12dB",
    "LowPass",        "HiPass",             "BandPass",      "StopBand",       "AllPass 1",      "AllPass 2"};
// The output equaliser's list spells item 1 differently.
inline constexpr const char* kOutputParametricCaption = "Parametric adap Q";
// Family list of the crossover editor (item index 0..4).
inline constexpr const char* kCrossoverFamilies[5] = {"ByPass", "ButtW", "L-Riley", "Bessel", "Custom"};

// Bessel low-pass above its order's limit: start + order + middle + limit (shortest decimal form).
inline constexpr char kBesselLimitStart[] = "Cutoff Frequency of Bessel LowPass filter of order ";
inline constexpr char kBesselLimitMiddle[] = " is limited to ";

// ---- Device image, libraries and operating-system files --------------------------------

// ---- Listings, report and power check --------------------------------------------------

// ---- Links and connection --------------------------------------------------------------

// ---- Transfer protocol and device operations -------------------------------------------

// ---- Ethernet modules ------------------------------------------------------------------

// ---- Library maker ---------------------------------------------------------------------

// ---- End of texts ----------------------------------------------------------------------

} // namespace kvr::core::texts
