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
// DSP operating system files.
inline constexpr const char* kOsOpenDialogTitle = "Open DSP Operating System";
inline constexpr const char* kOsOpenFilter = "DSP program Files *.asc|*.ASC|All Archives|*.*";
inline constexpr const char* kOsSaveDialogTitle = "Save DSP Operating System";
inline constexpr const char* kOsSaveFilter = "DSP Operating System|*.asc";
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
inline constexpr const char* kChooseProcessor = "Choose a processor";
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
inline constexpr const char* kImageOlderVersion =
    "Memory Stored with older Software version. Unable to read the Configuration.You must store the "
    "configuration with Software version 4.7 or newer.";
inline constexpr const char* kImageIncomplete =
    "The memory image is incomplete or damaged. Unable to read the Configuration.";
inline constexpr const char* kImageBlockTooLarge = "The data of DSP ";
inline constexpr const char* kImageBlockTooLargeEnd = " do not fit into its 2048 bytes. Reduce the number of sections.";
inline constexpr const char* kDesigningConfiguration = "Designing Configuration ";
inline constexpr const char* kDecodeNames = "Designing NAMES and HEADER...";
inline constexpr const char* kDecodeDelays = "Designing DELAYS, GAINS and ROUTES...";
inline constexpr const char* kDecodePeq = "Designing PEQ Equalization...";
inline constexpr const char* kDecodePeqx = "Designing PEQX Equalization...";
inline constexpr const char* kDecodeXover = "Designing XOVER ...";
inline constexpr const char* kDecodeDynamics = "Designing DYNAMICS ...";
inline constexpr const char* kDecodeDone = "DONE";
inline constexpr const char* kMainCaption = "KVR - 610 Loudspeaker Management System ";

inline constexpr const char* kLibraryTooManyFiles =
    "You are selecting more than 38 memories. Only the first 38 memories will be read.";
inline constexpr const char* kLibraryWrongSize = " is not a KVR 610 Library file: a library file holds exactly 239617 bytes.";
inline constexpr const char* kLibraryDamaged = " is not a valid KVR 610 Library file: memory ";
inline constexpr const char* kLibraryDamagedEnd = " does not fit inside the file.";
inline constexpr const char* kLibraryTooManyMemories = " is not a valid KVR 610 Library file: it claims more than 38 memories.";
inline constexpr const char* kLibraryFull = "The library is full: the images do not fit into its buffer.";

inline constexpr const char* kOsNoData = " holds no DSP Operating System data.";
inline constexpr const char* kOsTooLarge = " holds more than 6144 bytes: it is not a DSP Operating System file.";
inline constexpr const char* kOsBadDigit = " is not a DSP Operating System file: line ";
inline constexpr const char* kOsBadDigitMiddle = " has no hexadecimal number at byte ";
inline constexpr const char* kOsShortLine = " is not a DSP Operating System file: line ";
inline constexpr const char* kOsShortLineMiddle = " is too short for its bytes";
inline constexpr const char* kOsMissingLine = " is not a DSP Operating System file: it has fewer lines than its size needs.";
inline constexpr const char* kOsBadName =
    ": the 5th to 7th characters of the file name must give the DSP version (for example snvd047_r.asc).";
inline constexpr const char* kOsBadVersion = ": the DSP version in the file name must be 0 to 255.";
inline constexpr const char* kOsReceivedIncomplete = "The DSP Operating System received is incomplete.";
inline constexpr const char* kOsFileNameStart = "snvd";
inline constexpr const char* kOsFileNameEnd = "_r";

// ---- Listings, report and power check --------------------------------------------------
// Coefficient listings, in the DSP assembler's syntax (their Spanish is the DSP code's own).
inline constexpr const char* kListingComment1 = "; KVR 610 DSP data";
inline constexpr const char* kListingComment2 = "; Generated by the KVR 610 program";
inline constexpr const char* kListingBlank = "; ";
inline constexpr const char* kListingFsample = "; fsample : ";
inline constexpr const char* kListingRule = "; --------------------------------------";
inline constexpr const char* kListingPeqTitle = "; Coeficientes de PEQ";
inline constexpr const char* kListingPeqTitleEnd = ". Ecualización: ";
inline constexpr const char* kListingActiveSos = "; Número de SOS activas : ";
inline constexpr const char* kListingDsp1Title = "; DSP1DATA.asm - Fichero de datos de DSP1";
inline constexpr const char* kListingDsp2Title = "; DSP2DATA.asm - Fichero de datos de DSP2";
inline constexpr const char* kListingXoverTitle = "; Coeficientes de XOVER";
inline constexpr const char* kListingXoverPeqx = "; Se incluyen los posibles PEQX";
inline constexpr const char* kListingPeqxTitle = "; Coeficientes de PEQX";
inline constexpr const char* kListingPeqxTitleEnd = " - Ecualización de salida";
inline constexpr const char* kListingNoPeqx = "; No hay PEQX en salida ";
inline constexpr const char* kListingActiveSosPeqx = "; Numero de SOS activas : ";
inline constexpr const char* kListingFiltro = ";Filtro ";
inline constexpr const char* kListingFiltroPeqx = "; Filtro ";
inline constexpr const char* kListingSosLpf = "; SOSLPF ";
inline constexpr const char* kListingSosHpf = "; SOSHPF ";
inline constexpr const char* kListingFloat = " .float   ";
inline constexpr const char* kListingFloatPeqx = " .float    ";
inline constexpr const char* kListingSectionEnd = ";";
inline constexpr const char* kListingFrec = " frec: ";
inline constexpr const char* kListingGain = " Gain: ";
inline constexpr const char* kListingDb = " dB ";
inline constexpr const char* kListingQ = "Q: ";
inline constexpr const char* kListingOrden = "; Orden : ";
// Listing word of a section type code; nullptr for types the listings do not name.
inline constexpr const char* kListingWords[22] = {
    "Bypass ",  "Parametrico ", "ShelvingPB ", nullptr, "ShelvingPA ", nullptr,  "PasoBajo ",  "PasoAlto ",
    "PasoBanda ", "BandaEliminada ", "PasoTodo ", nullptr, "PasoBajo_1 ", nullptr, nullptr,       nullptr,
    nullptr,    nullptr,        nullptr,       nullptr, nullptr,       "Parametrico Q cte"};
// Listing text of a crossover side type code 0..8.
inline constexpr const char* kListingSideTexts[9] = {
    " Corte Bypass ",          " Corte LOW Butterworth fc= ", " Corte HIGH Butterworth fc= ",
    " Corte LOW LinkWitz-Riley fc= ", " Corte HIGH LinkWitz-Riley fc= ", " Corte LOW Bessel fc= ",
    " Corte HIGH Bessel fc= ",  " Corte LOW CUSTOM fc= ",      " Corte HIGH CUSTOM fc= "};
inline constexpr const char* kDspBypassFlag = "bypassflagpeq  .word   ";
inline constexpr const char* kDspBypassFlagEnd = "       ; Flag de Bypass PEQ";
inline constexpr const char* kDspInputGainA = "inputgaina     .float  ";
inline constexpr const char* kDspInputGainB = "inputgainb     .float  ";
inline constexpr const char* kDspInputGainEnd1[2] = {" ; Gain de entrada Canal 1", " ; Gain de entrada Canal 2"};
inline constexpr const char* kDspInputGainEnd2[2] = {" ; Gain de entrada Canal A", " ; Gain de entrada Canal B"};
inline constexpr const char* kDspOutGain[2] = {"outgain1       .float  ", "outgain2       .float  "};
inline constexpr const char* kDspOutGainEnd1[2] = {"; Gain de salida OUT1. Mute y pol", "; Gain de salida OUT2. Mute y pol"};
inline constexpr const char* kDspOutGainEnd2[2] = {"; Gain de salida OUT3. Mute ", "; Gain de salida OUT4. Mute "};
inline constexpr const char* kDspPol[2] = {"pol1           .float ", "pol2           .float "};
inline constexpr const char* kDspPolEnd = " ; Polaridad";
inline constexpr const char* kDspInputDelay = "dlglobal       .word   ";
inline constexpr const char* kDspInputDelayEnd = "      ; Muestras de retardo de entrada";
inline constexpr const char* kDspXoverDelay[2] = {"dlinexover1    .word   ", "dlinexover2    .word   "};
inline constexpr const char* kDspXoverDelayEnd = "       ; Muestras de retardo de xover";
inline constexpr const char* kDspPeqCount1 = "N_SOSPEQ      .word   ";
inline constexpr const char* kDspPeqCount2 = "N_SOSPEQ       .word   ";
inline constexpr const char* kDspPeqCountEnd = "    ; Nº de SOS de PEQ";
inline constexpr const char* kDspXoverCount[2] = {"N_SOSXOVER1    .word   ", "N_SOSXOVER2    .word   "};
inline constexpr const char* kDspXoverCountEnd = "  ; Nº de SOS de XOVER";
inline constexpr const char* kDspXoverCountPeqx = " + PEQX";
inline constexpr const char* kDspAux = "aux_";
inline constexpr const char* kDspAuxMiddle = "    .word 0 ; Variable auxiliar ";
inline constexpr const char* kDynTitle = ";Dinámica: ";
inline constexpr const char* kDynThreshold = ";   umbraldBFs = ";
inline constexpr const char* kDynThresholdMiddle = " dB :   ";
inline constexpr const char* kDynDbu = " dBu";
inline constexpr const char* kDynRatio = ";   ratio = ";
inline constexpr const char* kDynGain = ";   gaindB = ";
inline constexpr const char* kDynKnee = ";   Knee = ";
inline constexpr const char* kDynDb = " dB";
inline constexpr const char* kDynMs = " ms";
inline constexpr const char* kDynAttack = ";   tattak = ";
inline constexpr const char* kDynRelease = ";   trelease = ";
inline constexpr const char* kDynTau = ";   tau = ";
inline constexpr const char* kDynDetectors[3] = {";   Detector = Envolvente", ";   Detector = RMS", ";   Detector = Pico"};
inline constexpr const char* kDynKneeLimiter = "; CRI Knee LIMITADOR";
inline constexpr const char* kDynKneeCompressor = "; CRI Knee COMPRESOR";
inline constexpr const char* kDynDiezmado = ";   DiezmadoF = ";
inline constexpr const char* kDynBypass = ";   BypassF = ";
inline constexpr const char* kDynRetorno = ";   retornoF = ";
inline constexpr const char* kDynRetornoEqu = ";   retornoequ = ";
inline constexpr const char* kDynPoints = ";   Npuntos = ";
inline constexpr const char* kDynRule = ";----------------";
inline constexpr const char* kDynGate = ";Gate:";
inline constexpr const char* kDynGateThreshold = ";   UmbraldBGateFS = ";
inline constexpr const char* kDynGateAttack = ";   tattakgate = ";
inline constexpr const char* kDynGateRelease = ";   treleasegate = ";

// Automatic report.
inline constexpr const char* kReportTitle = "KVR 610  AUTOMATIC REPORT";
inline constexpr const char* kReportDate = "DATE : ";
inline constexpr const char* kReportVersion = "VERSION : ";
inline constexpr const char* kReportRule = "--------------------------------------------------";
inline constexpr const char* kReportConfiguration = "CONFIGURATION : ";
inline constexpr const char* kReportNames = "INPUT AND OUTPUT NAMES :";
inline constexpr const char* kReportInputA = "  INPUT  A : ";
inline constexpr const char* kReportInputB = "    INPUT  B : ";
inline constexpr const char* kReportOutputName = "  OUTPUT ";
inline constexpr const char* kReportOutputNameEven = "    OUTPUT ";
inline constexpr const char* kReportColon = " : ";
inline constexpr const char* kReportRoutingMode = "ROUTING MODE : ";
inline constexpr const char* kReportInputLetters[3] = {"A", "B", "Mono (A+B)"};
inline constexpr const char* kReportInput = "INPUT ";
inline constexpr const char* kReportInputEnd = " CONFIGURATION :";
inline constexpr const char* kReportMuted = "     MUTED: ";
inline constexpr const char* kReportInputGain = "     GAIN : ";
inline constexpr const char* kReportInputDelay = "   INPUT DELAY : ";
inline constexpr const char* kReportPeq = "     PEQ";
inline constexpr const char* kReportSource = " SOURCE : ";
inline constexpr const char* kReportYes = "YES";
inline constexpr const char* kReportNo = "NO";
inline constexpr const char* kReportFilter = "        Filter ";
inline constexpr const char* kReportType = "   Type: ";
inline constexpr const char* kReportFreq = " , freq: ";
inline constexpr const char* kReportHz = " Hz";
inline constexpr const char* kReportBandGain = ", Gain: ";
inline constexpr const char* kReportBandDb = " dB";
inline constexpr const char* kReportBandQ = ", Q: ";
inline constexpr const char* kReportL = " , L: ";
inline constexpr const char* kReportH = ", H: ";
// Equaliser type names by section type code; nullptr: the type has no line.
inline constexpr const char* kReportBandTypes[22] = {
    nullptr,      "Parametric", "Low Shelving 6 dB", "Low Shelving 12 dB", "High Shelving 6 dB",
    "High Shelving 12 dB", "LowPass", "HighPass", "BandPass", "RejectBand", "AllPass 1st", "AllPass 2nd",
    nullptr,      nullptr,      nullptr,      nullptr,      nullptr,      nullptr,      nullptr,
    "Integrator +", "Integrator -", "Parametric Constant Q"};
inline constexpr const char* kReportCrossoverTypes[9] = {"Bypass",  "Butterworth", "Butterworth",
                                                         "Linkwitz Riley", "Linkwitz Riley", "Bessel",
                                                         "Bessel",  "Custom",      "Custom"};
inline constexpr const char* kReportOutput = "OUTPUT ";
inline constexpr const char* kReportRoute = "  ROUTE : ";
inline constexpr const char* kReportXover = "  XOVER ";
inline constexpr const char* kReportXoverEnd = " :";
inline constexpr const char* kReportHighPass = "    HIGHPASS -  Type : ";
inline constexpr const char* kReportLowPass = "    LOWPASS -  Type : ";
inline constexpr const char* kReportOrder = "      ORDER : ";
inline constexpr const char* kReportSideFreq = "      FREQ : ";
inline constexpr const char* kReportSos = "      SOS ";
inline constexpr const char* kReportSosFreq = " - freq :";
inline constexpr const char* kReportSosSeparatorHigh = "  ;  ";
inline constexpr const char* kReportSosSeparatorLow = "  ;";
inline constexpr const char* kReportFirstOrder = " first order";
inline constexpr const char* kReportSosQ = " Q : ";
inline constexpr const char* kReportOutputSpace = " OUTPUT ";
inline constexpr const char* kReportPeqx = " PEQX EQUALISATION";
inline constexpr const char* kReportDelay = " DELAY : ";
inline constexpr const char* kReportGainMuted = " GAIN : MUTED";
inline constexpr const char* kReportGain = " GAIN : ";
inline constexpr const char* kReportInverted = " POLARITY : INVERTED";
inline constexpr const char* kReportPolarity = " POLARITY ";
inline constexpr const char* kReportNormal = " : NORMAL";
inline constexpr const char* kReportDynamic = "  DYNAMIC OUTPUT ";
inline constexpr const char* kReportBypassTrue = "    BYPASS : TRUE";
inline constexpr const char* kReportBypassFalse = "    BYPASS : FALSE";
inline constexpr const char* kReportCompressor = "    TYPE : CRI COMPRESSOR    THRESHOLD : ";
inline constexpr const char* kReportRatio = "    RATIO : ";
inline constexpr const char* kReportLimiter = "    TYPE : CRI LIMITER    LIMIT : ";
inline constexpr const char* kReportDbu = " dBu";
inline constexpr const char* kReportDynGain = "    GAIN : ";
inline constexpr const char* kReportKnee = "    CRI KNEE : ";
inline constexpr const char* kReportAutoTimes = "    AUTO TIME CONSTANTS : ";
inline constexpr const char* kReportTrue = "TRUE";
inline constexpr const char* kReportFalse = "FALSE";
inline constexpr const char* kReportAttack = "    ATTACK TIME : ";
inline constexpr const char* kReportRelease = "    RELEASE TIME : ";
inline constexpr const char* kReportMsDot = " ms.";
inline constexpr const char* kReportSpeakerParameters = "    SPEAKER AND AMPLIFIER PARAMETERS :";
inline constexpr const char* kReportImpedance = "    SPEAKER IMPEDANCE : ";
inline constexpr const char* kReportOhms = " OHMS";
inline constexpr const char* kReportSpeakerPower = "   MAXIMUM SPEAKER POWER : ";
inline constexpr const char* kReportWatts = " WATTS";
inline constexpr const char* kReportAmpPower = "    MAXIMUM AMPLIFIER POWER : ";
inline constexpr const char* kReportAmpGain = "    AMPLIFIER GAIN : ";
inline constexpr const char* kReportAmpGainOpen = " ( ";
inline constexpr const char* kReportAmpGainClose = " dB )";
inline constexpr const char* kReportBalanced = "    BALANCED SIGNAL : ";
inline constexpr const char* kReportVoltage = "    KVR 610  RMS OUTPUT ";
inline constexpr const char* kReportVoltageMiddle = " VOLTAGE : ";
inline constexpr const char* kReportVrms = " VRMS";
inline constexpr const char* kReportPower = "    MAXIMUM RMS OUTPUT ";
inline constexpr const char* kReportPowerMiddle = " POWER : ";
inline constexpr const char* kReportGateTitle = " NOISE GATE OUTPUT ";
inline constexpr const char* kReportGateBypass = "  BYPASS : ";
inline constexpr const char* kReportGateThreshold = "  THRESHOLD : ";
inline constexpr const char* kReportHold = "  HOLD TIME : ";
inline constexpr const char* kReportClose = "  CLOSE TIME : ";

// Speaker and amplifier power check.
inline constexpr const char* kPowerLine = "1 - Maximum RMS output Power : ";
inline constexpr const char* kPowerWatts = " Watts";
inline constexpr const char* kPowerVoltage = "    KVR 610  maximum Output Voltage : ";
inline constexpr const char* kPowerVrms = " vrms";
inline constexpr const char* kPowerBoxWarning =
    "2 - WARNING!! Your Box RMS Power capacity is lower than your output RMS Power";
inline constexpr const char* kPowerAmpWarning =
    " - WARNING!! Your Power Amplifier RMS Power is lower than your total RMS Power needs.";

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
inline constexpr const char* kSendLibraryOffline = "You must be connected not offline";
inline constexpr const char* kSendLibraryEmpty = "You must open a library before the sending";
// Our own: failures the processor's users never saw described.
inline constexpr const char* kUploadFailed =
    "The DSP Operating System was not updated: the communication with the KVR 610  failed.";
inline constexpr const char* kOsImageTooLarge = "The DSP Operating System is larger than 6147 bytes. Nothing was sent.";
inline constexpr const char* kOsImageInvalid = "The DSP Operating System image is not valid. Nothing was sent.";
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

// ---- Response plot and the editors' view switch -----------------------------------------
inline constexpr const char* kPlotLimitsInconsistent = "MAX/MIN VALUES INCONSISTENT";
inline constexpr const char* kViewMagnitude = "Mag";
inline constexpr const char* kViewPhase = "Phase";
inline constexpr const char* kViewDelay = "Delay";
// ---- Levels, delays, names, system information and output copying ------------------------
// Levels window.
inline constexpr const char* kLevelsCaption = "Input & Output Levels";
inline constexpr const char* kMuteBox = "Mute";
inline constexpr const char* kMuteOuts = "Mute Outs";
inline constexpr const char* kPolarityBox = "180º";
inline constexpr const char* kLevelsMixName = "In A+B";
inline constexpr const char* kApplyButton = "&Apply";
inline constexpr const char* kCloseButton = "&Close";
inline constexpr const char* kLevelScaleTop = "+10 dB";
inline constexpr const char* kLevelScaleZero = "0 dB";
inline constexpr const char* kLevelScaleBottom = "-40 dB";
// Input delay window.
inline constexpr const char* kInputDelayCaption = "Input Delay";
inline constexpr const char* kDistanceScaleTop = "0 m.";
inline constexpr const char* kDistanceScaleBottom = "100 m.";
inline constexpr const char* kLinkAToB = "Link A to B";
inline constexpr const char* kLinkAll = "Link All";
// Output delay window.
inline constexpr const char* kOutputDelayCaption = "Output Delay";
inline constexpr const char* kOutputDelayScaleTop = "0.0";
inline constexpr const char* kOutputDelayScaleBottom = "30msec";
inline constexpr const char* kLinkOutputDelayHints[3] = {"Link Output Delay 1-2", "Link Output Delay 2-3",
                                                         "Link Output Delay 3-4"};
inline constexpr const char* kCentimetreUnit = "cm.";
// Our own: captions and units beside the delay controls.
inline constexpr const char* kDelayInputCaptions[3] = {"Input A", "Input B", "Input A+B"}; // A, B, A+B
inline constexpr const char* kMetreUnit = "m.";
inline constexpr const char* kFeetUnit = "feet";
inline constexpr const char* kMsUnit = "ms";
inline constexpr const char* kDbUnit = "dB";
inline constexpr const char* kTemperatureCaption = "Temperature";
inline constexpr const char* kCelsiusUnit = "°C";
inline constexpr const char* kFahrenheitUnit = "°F";
inline constexpr const char* kLinkCaption = "Link";
// Names window.
inline constexpr const char* kNamesCaption = "Input & Output Configuration";
inline constexpr const char* kNamesSystemName = "System Name";
inline constexpr const char* kNamesInputs = "Inputs";
inline constexpr const char* kNamesInputLabels[2] = {"Input A", "Input B"};
inline constexpr const char* kNamesOutputs = "Outputs";
inline constexpr const char* kNamesOutputLabels[4] = {"Output 1", "Output 2", "Output 3", "Output 4"};
// System information window.
inline constexpr const char* kSystemInfoCaption = "System Information";
inline constexpr const char* kSystemInfoName = "System Name :";
inline constexpr const char* kSystemInfoProject = "Project Name :";
inline constexpr const char* kSystemInfoInstallation = "Installation :";
inline constexpr const char* kSystemInfoEngineer = "Engineer :";
inline constexpr const char* kSystemInfoComment = "Comments :";
// Copy window.
inline constexpr const char* kCopyCaption = "Copy Output Configuration";
inline constexpr const char* kCopyFrom = "Copy Output";
inline constexpr const char* kCopyTo = "to Output";
inline constexpr const char* kCopyRoute = "Route";
inline constexpr const char* kCopyXover = "XOver";
inline constexpr const char* kCopyPeqx = "PEQX";
inline constexpr const char* kCopyOutputDelay = "Output Delay";
inline constexpr const char* kCopyOutputGain = "Output Gain";
inline constexpr const char* kCopyDynamics = "Dynamics - Noise Gate";
inline constexpr const char* kCopyOutputName = "Output Name";
inline constexpr const char* kCopyAll = "Copy All";
inline constexpr const char* kCopyQuestionPrefix = "Do you want to copy data from Output ";
inline constexpr const char* kCopyQuestionMiddle = " to Output ";
inline constexpr const char* kCopyQuestionSuffix = " ?";

// ---- Output equaliser, dynamics editor, speaker calculator -----------------------------
inline constexpr const char* kOutputEqCaption = "Individual Output Equalization";
inline constexpr const char* kOutputEqTitleSuffix = " Equalization"; // after the output button's caption
inline constexpr const char* kOutputEqSelectors[4] = {"PEQX1", "PEQX2", "PEQX3", "PEQX4"};
// View influence boxes, in the order peq, xover, peqx, out delays, gain, speaker.
inline constexpr const char* kViewInfluenceCaptions[6] = {"PEQ", "XOVER", "PEQX", "OUT DELAYS", "GAIN", "SPEAKER"};
inline constexpr const char* kImportData = "Import Data";
inline constexpr const char* kConstQ = "Const Q";
inline constexpr const char* kAdaptQ = "Adapt Q";
inline constexpr const char* kUnitsCentimetres = "centm.";
inline constexpr const char* kUnitsMilliseconds = "msec.";
inline constexpr const char* kAxisDb = "dB";
inline constexpr const char* kAxisPhase = "Phase";
inline constexpr const char* kUnitDbs = " dBs";
inline constexpr const char* kUnitDegrees = " degrees";
inline constexpr const char* kHzSeparator = " Hz , ";
inline constexpr const char* kAddResponse = " Add Response : ";
// Our own: the group delay view ("Delay", beside magnitude and phase).
inline constexpr const char* kAxisDelay = "Delay ms";
inline constexpr const char* kUnitMs = " ms";

inline constexpr const char* kDynamicsCaption = "Dynamic Configuration - Noise Gate";
inline constexpr const char* kDynamicsPlotTitle = "Dynamic "; // + the output button's caption
inline constexpr const char* kDynamicsPanel = "Dynamic Ouput ";
inline constexpr const char* kGatePanel = "Noise Gate Output ";
inline constexpr const char* kThresholdLimiter = "     Limit";
inline constexpr const char* kThresholdCompressor = "Threshold";
inline constexpr const char* kRatioSuffix = ": 1";
inline constexpr const char* kKneeKindGroup = "CRI Knee";
inline constexpr const char* kKneeKinds[2] = {"Limiter", "Compressor"};
inline constexpr const char* kAutoTimeGroup = "Auto Time";
inline constexpr const char* kAutoTimeCheck = "Constants";
inline constexpr const char* kGateTimeMs = "ms"; // hold and close labels
inline constexpr const char* kGateLevelPrefix = "- ";
inline constexpr const char* kDbu = " dBu";
inline constexpr const char* kHoldTime = "Hold Time";
inline constexpr const char* kCloseTime = "Close Time";
inline constexpr const char* kSpeakerParameters = "Speaker Parameters";
inline constexpr const char* kViewPower = "ViewPower";
inline constexpr const char* kAxisInputDbu = "input dBu";
inline constexpr const char* kAxisOutputDbu = "output dBu";
inline constexpr const char* kReadoutInput = "Input  ";
inline constexpr const char* kReadoutMiddle = " dBu  :  ";
inline constexpr const char* kReadoutOutput = "Output  ";

inline constexpr const char* kSpeakerCaptionStart = "Output "; // + n + kSpeakerCaptionEnd
inline constexpr const char* kSpeakerCaptionEnd = "  Parameters";
inline constexpr const char* kImpedanceItems[5] = {"2", "2.67", "4", "8", "16"};
inline constexpr const char* kNumberSpeakersItems[4] = {"1", "2", "3", "4"};
inline constexpr const char* kBalancedSignal = "Balanced Signal";
inline constexpr const char* kDbSuffix = " dB";
inline constexpr const char* kSpeakerCaution =
    "CAUTION!!!! Be sure that the Manufacurer's data are real. If you have doubts about it, please, call your "
    "vendor and ask him/her about them. These output powers are calculated considering Resistive Loads of Box "
    "Impedance ohms.  If the Signal is not balanced, the input signal is considered with half amplitude and a "
    "quarter of power at the output.";

// ---- Input equaliser and crossover editors ---------------------------------------------
inline constexpr const char* kAxisHz = "Hz";
inline constexpr const char* kInputEqCaption = " Global Input Equalization ";
inline constexpr const char* kInputEqGraphTitle = "Input Equalization - ";
// Bank buttons ModPEQ1, ModPEQ2, ModPEQM; the source columns PEQA, PEQM, PEQB.
inline constexpr const char* kInputBankButtons[3] = {" PEQA", " PEQB", " PEQM"};
inline constexpr const char* kInputSourceColumns[3] = {"PEQA", " PEQM", "  PEQB"};
// Our own: the rows of the source choices, the view checks and the field labels.
inline constexpr const char* kInputSourceRows[3] = {"In A", "In B", "In A+B"};
inline constexpr const char* kInputSourceTitle = "Source";
inline constexpr const char* kInputViewChecks[3] = {"PEQA", "PEQB", "PEQM"};
inline constexpr const char* kBandLabel = "Band";
inline constexpr const char* kTypeLabel = "Type";
inline constexpr const char* kFrequencyLabel = "Freq (Hz)";
inline constexpr const char* kGainLabel = "Gain (dB)";
inline constexpr const char* kQLabel = "Q";
inline constexpr const char* kLLabel = "L";
inline constexpr const char* kHLabel = "H";
inline constexpr const char* kBLabel = "B";
inline constexpr const char* kCrossoverCaption = "CrossOver Configuration";
inline constexpr const char* kCrossoverGraphTitle = "CrossOver";
inline constexpr const char* kCrossoverLabelPrefix = "Xover"; // "Xover1" .. "Xover4"
inline constexpr const char* kCustomHelpWarning =
    "WARNING!!! : CUSTOM CrossOver Alignment requires Engineering Knowledge. If you doubt, please go back to "
    "NORMAL CrossOver Mode";
// Our own: page buttons, headings, links and the Y range.
inline constexpr const char* kCrossoverNormalButton = "Normal";
inline constexpr const char* kCrossoverCustomButton = "Custom";
inline constexpr const char* kCrossoverLowSide = "Low side (high-pass)";
inline constexpr const char* kCrossoverHighSide = "High side (low-pass)";
inline constexpr const char* kCrossoverOrderLabel = "Order";
inline constexpr const char* kCrossoverOutputLabel = "Output";
inline constexpr const char* kCrossoverLowOrderLabel = "Low order";
inline constexpr const char* kCrossoverHighOrderLabel = "High order";
inline constexpr const char* kCrossoverSectionLabel = "Section";
inline constexpr const char* kCrossoverLinks[3] = {"Link 1-2", "Link 2-3", "Link 3-4"};
inline constexpr const char* kCrossoverYMax = "Max dB";
inline constexpr const char* kCrossoverYMin = "Min dB";
inline constexpr const char* kCrossoverHelpButton = "?";
// ---- Measured responses, report window, listings and device data ----------------------
// Measured response import window.
inline constexpr const char* kImportCaption = "Import Speaker Frequency Response";
inline constexpr const char* kImportDialogTitle = "Select File with Frequency Response";
inline constexpr const char* kImportFilter = "exported data *.txt|*.txt|all *.*|*.*";
inline constexpr const char* kImportFilterDaas = "CALSOD DAAS32 Exported data *.spl|*.spl|all *.*|*.*";
inline constexpr const char* kImportReference = "Reference Level to 0 dB";
inline constexpr const char* kImportBrowse = "...";
inline constexpr const char* kImportClear = "Clear";
// Format list items (index = stored code 0..8), then the formats installers export today.
inline constexpr const char* kImportKindItems[12] = {"CLIO", "MLSSA",  "WINAIR",  "Smaart Live",     "IMP",
                                                     "LAUD", "CALSOD", "DAAS 32", "LoudSpeaker Lab", "FRD",
                                                     "ZMA",  "REW"};
// The format's name in the not-valid message.
inline constexpr const char* kImportKindNames[12] = {"CLIO",
                                                     "MLSSA",
                                                     "WINAIR",
                                                     "SIA Smaart Pro - Transfer Function",
                                                     "IMP",
                                                     "LAUD",
                                                     " CALSOD ",
                                                     "DAAS 32 - CALSOD ",
                                                     "LoudSpeaker Lab - CALSOD ",
                                                     "FRD",
                                                     "ZMA",
                                                     "REW"};
inline constexpr const char* kImportUnderConstruction = "Option Under Construction. Please Select Another";
inline constexpr const char* kImportUnableToOpen = "Unable to Open ";
inline constexpr const char* kImportUnableToOpenMiddle = " Measure File for Output ";
inline constexpr const char* kImportUnableToOpenEnd = ". Look for the correct file to use the Measures.";
inline constexpr const char* kImportNotEnoughMemory = "Not enough memory. Please close the others programs.";
inline constexpr const char* kImportNotValid = " is not a valid ";
inline constexpr const char* kImportNotValidEnd = " exported data file.";
// Our own: the filters of today's formats, the name a file keeps, the import summary.
inline constexpr const char* kImportFilterFrd = "FRD exported data *.frd;*.txt|*.frd;*.txt|all *.*|*.*";
inline constexpr const char* kImportFilterZma = "ZMA impedance data *.zma;*.txt|*.zma;*.txt|all *.*|*.*";
inline constexpr const char* kImportFilterRew = "REW exported data *.txt|*.txt|all *.*|*.*";
inline constexpr const char* kImportNameTooLong =
    "The file name is longer than 100 characters: the configuration file keeps only the first 100. Move the file "
    "to a folder with a shorter path.";
inline constexpr const char* kImportNotRegular = ": not a regular file";
inline constexpr const char* kImportInfoOutput = "Output ";
inline constexpr const char* kImportInfoColon = ": ";
inline constexpr const char* kImportInfoComma = ", ";
inline constexpr const char* kImportInfoPoints = " points, ";
inline constexpr const char* kImportInfoTo = " Hz to ";
inline constexpr const char* kImportInfoHz = " Hz";
inline constexpr const char* kImportInfoOhms = ", impedance in ohms";
inline constexpr const char* kImportInfoGroupDelay = ", no phase (the third column is group delay)";
inline constexpr const char* kImportInfoNone = ": no measurement";
// Report window.
inline constexpr const char* kReportCaption = "AUTOMATIC REPORT";
inline constexpr const char* kReportSave = "Save";
inline constexpr const char* kReportSaveHint = "REPORT SAVE";
inline constexpr const char* kReportPrint = "Print";
inline constexpr const char* kReportPrintHint = "REPORT PRINT";
inline constexpr const char* kReportSaveTitle = "Save Automatic REPORT";
inline constexpr const char* kReportFileFilter = "*.txt text files|*.txt|*.* all files|*.*";
inline constexpr const char* kReportExtension = "txt";
inline constexpr const char* kReportMargin = "     ";
// Our own: PDF export and what a failed print says.
inline constexpr const char* kReportPdf = "Export PDF";
inline constexpr const char* kReportPdfHint = "REPORT PDF";
inline constexpr const char* kReportPdfTitle = "Export Automatic REPORT as PDF";
inline constexpr const char* kReportPdfFileFilter = "*.pdf PDF files|*.pdf|*.* all files|*.*";
inline constexpr const char* kReportPdfExtension = "pdf";
inline constexpr const char* kReportPrintFailed = "Unable to print: the printer could not be started.";
// Listings window and the main window's switch that saves them.
inline constexpr const char* kListingsCaption = "Coefficient Listings";
inline constexpr const char* kListingsSave = "Save";
inline constexpr const char* kListingsSaveHint = "Save the coefficient listings as files";
inline constexpr const char* kMenuListings = "Coefficient &Listings";
inline constexpr const char* kMenuDeviceData = "&Device Data";
// Device data ("Genera") window.
inline constexpr const char* kDeviceDataCaption = "Device Data";
inline constexpr const char* kDeviceDataButton = "Genera";
inline constexpr const char* kDeviceDataBlock1 = "DSP 1";
inline constexpr const char* kDeviceDataBlock2 = "DSP 2";
inline constexpr const char* kDeviceDataLines = "DSP 1 lines";

// ---- Verified stores, recovery, recent files (our own) ----------------------------------
inline constexpr const char* kMemoryPrefix = "Memory ";
inline constexpr const char* kStored = " stored";
inline constexpr const char* kStoredVerified = " stored and verified";
inline constexpr const char* kMemoryRead = " read";
inline constexpr const char* kVerifyMismatchMiddle = " NOT verified: the ";
inline constexpr const char* kVerifyMismatchByte = " read back differs from the one sent (first at byte ";
inline constexpr const char* kVerifyMismatchEnd = "). Store it again.";
inline constexpr const char* kVerifyReadFailed = " NOT verified: it could not be read back.";
inline constexpr const char* kImagePartHeader = "header";
inline constexpr const char* kImagePartDsp1 = "DSP block 1";
inline constexpr const char* kImagePartDsp2 = "DSP block 2";
inline constexpr const char* kImagePartRecord = "configuration record";
inline constexpr const char* kVerifying = "Verifying...";
inline constexpr const char* kMenuVerifyAfterStore = "&Verify After Storing";
inline constexpr const char* kMenuRecentFiles = "Recent &Files";
inline constexpr const char* kMenuClearRecent = "&Clear List";
inline constexpr const char* kRecentFileMissingPrefix = "The file ";
inline constexpr const char* kRecentFileMissingSuffix = " no longer exists; it was taken off the list of recent files.";
inline constexpr const char* kOverwriteQuestionPrefix = "The file ";
inline constexpr const char* kOverwriteQuestionSuffix = " already exists. Do you want to replace it?";
inline constexpr const char* kRecoveryQuestion =
    "The program did not end normally last time. Do you want to restore the configuration you were working on?";
inline constexpr const char* kRecoveryUnreadable = "The recovery copy could not be read: ";
inline constexpr const char* kRecoveredName = "Recovered";
inline constexpr const char* kNeedsConnection = "Connect to a processor first";
inline constexpr const char* kNeedsIdle = "Wait until the running operation has ended";
inline constexpr const char* kNeedsWindow = "Not available in this version";

// ---- Settings by name: get / set (our own) ----------------------------------------------
inline constexpr const char* kSettingUnknownKey = "unknown key";
inline constexpr const char* kSettingNoAssignment = "not KEY=VALUE";
inline constexpr const char* kSettingReadOnly = "read-only: ";
inline constexpr const char* kSettingDisabled = "disabled: ";
inline constexpr const char* kSettingNotNumber = "not a number";
inline constexpr const char* kSettingNotOnOff = "not on or off";
inline constexpr const char* kSettingNotOneOf = "not one of ";
inline constexpr const char* kSettingComputed = "the program computes it";
inline constexpr const char* kSettingLowerCount = "the editors never lower a band count; it is ";
inline constexpr const char* kSettingDynamicsBypassed = "the dynamics are bypassed";
inline constexpr const char* kSettingGateBypassed = "the gate is bypassed";
inline constexpr const char* kSettingLimiterRatio = "a limiter has no ratio";
inline constexpr const char* kSettingAutomaticTimes = "automatic times set attack and release";
inline constexpr const char* kSettingTypeWithoutGain = "the band's type has no gain";
inline constexpr const char* kSettingTypeWithoutQ = "the band's type has no Q";
inline constexpr const char* kSettingDesignedSide = "the side is not custom: its sections are designed";
inline constexpr const char* kSettingSectionUnused = "the side's order does not use this section";
inline constexpr const char* kSettingFirstOrderQ = "section 1 of an odd order is first order: no Q";

// ---- Output equaliser, dynamics and calculator windows (our own captions) ---------------
inline constexpr const char* kViewIndividual = "Individual";
inline constexpr const char* kViewAdd = "Add";
inline constexpr const char* kOutputSelectTitle = "Output";
inline constexpr const char* kOutputShownLabel = "View";
inline constexpr const char* kOutputLevelTitle = "Level";
inline constexpr const char* kOutputDelayTitle = "Delay";
inline constexpr const char* kInfluenceTitle = "Response includes";
inline constexpr const char* kDelayScaleTop = "30msec"; // the output equaliser's delay track, 30 ms at the top
inline constexpr const char* kDelayScaleBottom = "0.0";
inline constexpr const char* kDynamicsRatio = "Ratio";
inline constexpr const char* kDynamicsGain = "Gain";
inline constexpr const char* kDynamicsKnee = "Knee";
inline constexpr const char* kDynamicsAttack = "Attack";
inline constexpr const char* kDynamicsRelease = "Release";
inline constexpr const char* kGateThresholdCaption = "Threshold";
inline constexpr const char* kDynamicsActive = "Dynamics ON";
inline constexpr const char* kDynamicsBypassed = "Dynamics BYPASS";
inline constexpr const char* kGateActive = "Gate ON";
inline constexpr const char* kGateBypassed = "Gate BYPASS";
inline constexpr const char* kSpeakerImpedance = "Box Impedance (ohms)";
inline constexpr const char* kSpeakerBoxPower = "Box RMS Power (W)";
inline constexpr const char* kSpeakerAmpGain = "Amplifier Gain";
inline constexpr const char* kSpeakerAmpPower = "Amplifier RMS Power (W)";
inline constexpr const char* kSpeakerCount = "Number of Speakers";
inline constexpr const char* kSpeakerHelp = "?";

// ---- Window captions kept beside their controls until now (our own) ---------------------
inline constexpr const char* kChoiceOfflineDetail = "Work on files without a processor";
inline constexpr const char* kChoiceUsbDetail = "KVR 610 on a USB port";
inline constexpr const char* kChoiceEthernetDetail = "KVR 610 behind an Ethernet module";
inline constexpr const char* kCrossoverLowSideLabel = "fc1";
inline constexpr const char* kCrossoverHighSideLabel = "fc2";
inline constexpr const char* kModuleListCaption = "Modules";
inline constexpr const char* kLibraryRowLabel = "%1 -"; // %1: the row number
inline constexpr const char* kMenuEdit = "&Edit";
inline constexpr const char* kMenuUndo = "Undo";
inline constexpr const char* kMenuRedo = "Redo";
inline constexpr const char* kMenuUndoNamed = "Undo %1"; // %1: the step's name
inline constexpr const char* kMenuRedoNamed = "Redo %1";

// ---- End of texts ----------------------------------------------------------------------

} // namespace kvr::core::texts
