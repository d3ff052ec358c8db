#pragma once

// The program's own user-visible texts, character for character (odd spacing and spelling
// included: the processor's users know them). Everything the user reads comes from here.

namespace kvr::core::texts {

// ---- Main window and start-up ----------------------------------------------------------

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
inline constexpr const char* kUsbOpenFailed =
    "Can't open the USB. Please verify that the USB port is correct and your KVR 610  unit is switch on";
inline constexpr const char* kUsbClose = "FT_Close";
inline constexpr const char* kUsbSetRts = "FT_SetRTS";
inline constexpr const char* kUsbSetDtr = "FT_SetDTR";
inline constexpr const char* kUsbSetBaudRate = "FT_SetBaudRate";
inline constexpr const char* kUsbSetDataCharacteristics = "FT_SetDataCharacteristics";
inline constexpr const char* kUsbSetFlowControl = "FT_SetFlowControl";
inline constexpr const char* kUsbSetChars = "FT_SetChars";
inline constexpr const char* kUsbSetTimeouts = "Comunication ERROR. Please verify that the USB port is correct";
inline constexpr const char* kUsbWriteFailed = "USB Write Failed";
inline constexpr const char* kUsbReadFailed = "USB Read Failed";
inline constexpr const char* kUsbStatusInvalidHandle = " - Invalid Handle...";
inline constexpr const char* kUsbStatusDeviceNotFound = " - Device Not Found....";
inline constexpr const char* kUsbStatusDeviceNotOpened = " - Device Not Opened...";
inline constexpr const char* kUsbStatusIoError = " - General IO Error...";
inline constexpr const char* kUsbStatusInsufficientResources = " - Insufficient Resources...";
inline constexpr const char* kUsbStatusInvalidParameter = " - Invalid Parameter ...";
inline constexpr const char* kUsbStatusOther = " - Unknown USB error ";
inline constexpr const char* kEthernetOpenErrorPrefix = "ETHERNET error: Opening IP: ";
inline constexpr const char* kEthernetOpenErrorSuffix =
    ". Verify if the IP is Correct and the Processor is Switched ON";
inline constexpr const char* kSerialNoAnswer =
    "Comunication ERROR. Please verify that the COM port selected is correct and your KVR 610  unit is in its "
    "Main Menu";
inline constexpr const char* kSerialPortInUse = "COM Port already in use. Select another.";
inline constexpr const char* kNotAKvr610 = "This is not a KVR 610  processor, It cannot communicate.";
inline constexpr const char* kEthernetCommErrorPrefix = "ETHERNET Comunication Error. Connecting with: ";
inline constexpr const char* kStatusOffline = "Status: Offline";
inline constexpr const char* kStatusConnectedUsb = "Status : Connected with USB";
inline constexpr const char* kStatusEthernetConnectedPrefix = "ETHERNET: Connected with ";
inline constexpr const char* kStatusEthernetConnectedFrom = " from ";


// ---- Transfer protocol and device operations -------------------------------------------
inline constexpr const char* kCommWindowTitle = "KVR 610 Communications";
inline constexpr const char* kCommConnecting = "Conecting...";
inline constexpr const char* kCommBaudrate = "Baudrate : 38400 bps";
// Send exchange
inline constexpr const char* kSendingStart = "Sending START...";
inline constexpr const char* kReceivedStart = "Received START...";
inline constexpr const char* kDataNotValidPrefix = "  ¡¡ERROR!! DATA NO VALID(";
inline constexpr const char* kDataNotValidSuffix = ")";
inline constexpr const char* kSendingCommand = "Sending COMMAND...";
inline constexpr const char* kReceivedCommand = "Received COMMAND...";
inline constexpr const char* kSendingProgramNumber = "Sending PROGRAM NUMBER...";
inline constexpr const char* kReceivedProgramNumber = "Received Program Number...";
inline constexpr const char* kMemoryProtectedByNumber =
    "MEMORY PROTECTED. If you want to override it, you must unprotect it from the keyboard of the Processor.";
inline constexpr const char* kMemoryEmptyRead = "MEMORY EMPTY. NO POSSIBLE TO READ PROGRAM";
inline constexpr const char* kMemoryEmptyChange = "MEMORY EMPTY. NO POSSIBLE TO CHANGE PROGRAM";
inline constexpr const char* kMemoryFullPrefix = "Memory ";
inline constexpr const char* kMemoryFullSuffix = " Is Full. Do You Want To OverWrite?";
inline constexpr const char* kMemoryProtectedPrefix = "Memory ";
inline constexpr const char* kMemoryProtectedSuffix =
    "  Is Protected. If you want to override it you must unprotect it from the keyboard of the Processor.";
inline constexpr const char* kSendingLong = "Sending LONG...";
inline constexpr const char* kLongNotValid = "¡¡ERROR!! DATA NO VALID (Long)";
inline constexpr const char* kReceivedLong = "Received LONG...";
inline constexpr const char* kSendingData = "Sending DATA...";
inline constexpr const char* kSendingDataToMemory = " to Memory ";
inline constexpr const char* kSendingDataOs = " DSP Operating System";
inline constexpr const char* kSendingEnd = "Sending END...";
inline constexpr const char* kEndError = "ERROR";
inline constexpr const char* kEndNotValid = " ¡¡ERROR!! DATA NO VALID (END)";
inline constexpr const char* kReceivedEnd = "Received END...";
inline constexpr const char* kCommunicationCounter = "Communication... ";
inline constexpr const char* kLoadingPreset = "Loading Preset... ";
// Receive exchange
inline constexpr const char* kStartComunication = "Start comunication...";
inline constexpr const char* kReceivingBegin = "Receiving BEGIN...";
inline constexpr const char* kBeginUnexpectedPrefix = "  ¡¡ERROR!! El dato no es el esperado(";
inline constexpr const char* kBeginUnexpectedEthernetPrefix =
    "  ¡¡ETHERNET ERROR!! El dato no es el esperado(";
inline constexpr const char* kBeginUnexpectedSuffix = ")";
inline constexpr const char* kReceivedBegin = "Received BEGIN...";
inline constexpr const char* kReceivingCommand = "Receiving COMMAND...";
inline constexpr const char* kReceivingProgram = "Receiving PROGRAM...";
inline constexpr const char* kReceivingLong = "Receiving LONG...";
inline constexpr const char* kReceiveData = "Receive data...";
inline constexpr const char* kLongPrefix = "LONG : ";
inline constexpr const char* kReadingOs = "Reading DSP Operating System from the KVR 610 ";
inline constexpr const char* kReadingConfigurationPrefix = "Reading Configuration ";
inline constexpr const char* kReadingConfigurationFrom = " from the ";
inline constexpr const char* kReadingConfigurationDevice = "KVR 610 ";
inline constexpr const char* kRest = "Rest...";
inline constexpr const char* kDataReceived = "Data Received...";
inline constexpr const char* kReceivingEnd = "Receiving END ...";
inline constexpr const char* kReceiveEndError = " ERROR FINAL...";
inline constexpr const char* kReceiveEndErrorEthernet = " ETHERNET ERROR!! Receiving END";
// Our own: a received length the receive buffer cannot hold, a silent processor.
inline constexpr const char* kLongTooLargePrefix = "  ¡¡ERROR!! LONG TOO LARGE FOR THE RECEIVE BUFFER (";
inline constexpr const char* kLongTooLargeSuffix = ")";
inline constexpr const char* kNoAnswer = "No answer from the KVR 610 ";
// Operations
inline constexpr const char* kCommunicationOk = "Comunication is OK...";
inline constexpr const char* kVersionStatusPrefix = "Version: ";
inline constexpr const char* kGetVersion = "Get version...";
inline constexpr const char* kDspVersionMessagePrefix = "KVR 610  DSP Version : ";
inline constexpr const char* kRequiredDspVersion = "4.7";
inline constexpr const char* kUpdateQuestionPrefix = "The DSP Version in the KVR 610  unit is ";
inline constexpr const char* kUpdateQuestionMiddle = ".You must update the DSP Version to VERSION ";
inline constexpr const char* kUpdateQuestionSuffix =
    " and then store again your configurations. Do you want to update it now?";
inline constexpr const char* kStoreAgainPrefix = "IMPORTANT: You must store again all memories to be Compatible with VERSION ";
inline constexpr const char* kStoreAgainSuffix = ".";
inline constexpr const char* kUsbClosedReconnect = "The KVR 610  was closed. You need to Reconnect.";
inline constexpr const char* kEthernetCommError = "ETHERNET: Communication Error with KVR 610 ";
inline constexpr const char* kReadProgram = "Read program...";
inline constexpr const char* kGetSystem = "Get system...";
inline constexpr const char* kUploadWarning =
    "WARNING!!! Updating the DSP Operating System may left your KVR 610  unit blocked if it does not finish "
    "correctlly. Please, be sure that  everything is connected well. Do you want to continue anyway?";
inline constexpr const char* kLockQuestion = "Do you want to LOCK the Keyboard?";
inline constexpr const char* kUnlockQuestion = "Do you want to UNLOCK the Keyboard?";
inline constexpr const char* kLockMenuQuestion = "Do you want to LOCK the KeyBoard?";
inline constexpr const char* kOsFileNamePrefix = "snvd";
inline constexpr const char* kOsFileNameSuffix = "_r";
inline constexpr const char* kSendLibraryOffline = "You must be connected not offline";
inline constexpr const char* kSendLibraryEmpty = "You must open a library before the sending";
// Our own: failures the processor's users never saw described.
inline constexpr const char* kUploadFailed =
    "The DSP Operating System was not updated: the communication with the KVR 610  failed.";
inline constexpr const char* kOsImageTooLarge = "The DSP Operating System is larger than 6147 bytes. Nothing was sent.";
inline constexpr const char* kOsImageInvalid = "The DSP Operating System image is not valid. Nothing was sent.";
inline constexpr const char* kOsLengthMismatch =
    "The DSP Operating System received from the KVR 610  is incomplete: its length does not match the bytes received.";
inline constexpr const char* kLibraryTooLarge =
    "The library holds more than 18 memories; the KVR 610  keeps 18. Nothing was sent.";
inline constexpr const char* kOperationRunning = "Another operation with the KVR 610  is running.";
inline constexpr const char* kImageTooLarge = "The image is larger than the KVR 610  accepts. Nothing was sent.";
inline constexpr const char* kVersionReadFailed = "The DSP version could not be read. Nothing was stored.";
inline constexpr const char* kNotConnected = "Not connected to a KVR 610 .";
inline constexpr const char* kCancelled = "Cancelled.";
inline constexpr const char* kPasswordKeys = "The password is six keys, each 1, 2 or 3.";


// ---- Ethernet modules ------------------------------------------------------------------
inline constexpr const char* kIpChangedSuccessfully = "IP Changed Successfully";
inline constexpr const char* kErrorChangingIp = "Error Changing IP";
inline constexpr const char* kHostNameChangedSuccessfully = "Host Name Changed Successfully";
inline constexpr const char* kErrorChangingHostName = "Error Changing Host Name";
// Our own: what the modules' users never saw described.
inline constexpr const char* kModuleIdentifierEmpty = "The module has no identifier: its IP address cannot be changed.";
inline constexpr const char* kModuleIdentifierTooLong =
    "The module identifier is too long: the message to the module holds at most 101 bytes.";
inline constexpr const char* kModuleAddressInvalid =
    "The IP address must be four numbers from 0 to 255 separated by dots.";
inline constexpr const char* kModuleHostNameEmpty = "The host name is empty.";
inline constexpr const char* kModuleHostNameTooLong = "The host name holds at most 8 characters.";
inline constexpr const char* kNoLocalIpv4Address =
    "This computer has no IPv4 network address: the Ethernet modules cannot be searched.";
inline constexpr const char* kDiscoverySendFailedPrefix = "The message to the Ethernet modules could not be sent to ";
inline constexpr const char* kModuleExchangeRunning = "Another exchange with the Ethernet modules is running.";

// ---- Library maker ---------------------------------------------------------------------

// ---- End of texts ----------------------------------------------------------------------

} // namespace kvr::core::texts
