// The window's own texts: captions, tool tips and messages, named once.
#pragma once

#include <QString>

namespace texts {

inline const QString kAppTitle = QStringLiteral("Quintabell");
inline const QString kCaption = QStringLiteral("Quintabell 1.5");
inline const QString kErrorMessageTitle = QStringLiteral("Quintabell Error Message");
inline const QString kErrorTitle = QStringLiteral("Quintabell Error");
inline const QString kBusy = QStringLiteral("I'm busy!");
inline const QString kIllegalPosition = QStringLiteral(">> illegal position");
inline const QString kKingSideTip = QStringLiteral("allow K-side castle");
inline const QString kQueenSideTip = QStringLiteral("allow Q-side castle");
inline const QString kScramble = QStringLiteral("scramble");
inline const QString kScrambleTip = QStringLiteral("encrypts all solutions in the list");
inline const QString kSolutions = QStringLiteral("Solution(s):");
inline const QString kComments = QStringLiteral("Comments:");
inline const QString kMate = QStringLiteral("Mate");
inline const QString kDefend = QStringLiteral("Defend");
inline const QString kCancel = QStringLiteral("CANCEL");

} // namespace texts

namespace texts {

inline const QString kStalemateLine = QStringLiteral(">> STALEMATE!");
inline const QString kCheckmateLine = QStringLiteral(">> CHECKMATE!");
inline const QString kStoppedLine = QStringLiteral(">> - stopped - ");
inline const QString kOneSolutionLine = QStringLiteral(">> One Solution");
inline const QString kSolutionsLine = QStringLiteral(">> %1 Solutions");
inline const QString kNoSolutionLine = QStringLiteral("No Solution found");
inline const QString kTerminatedLine = QStringLiteral(">> - terminated -");
inline const QString kTimeLine = QStringLiteral(">> time: ");
inline const QString kPlaceholder = QStringLiteral("Solution %1");
inline const QString kNoLineSelected = QStringLiteral("XXXXXXXXXX");
inline const QString kUnableToCreate = QStringLiteral("unable to create Thread");
inline const QString kUnableToTerminate = QStringLiteral("unable to terminate Thread");

} // namespace texts

namespace texts {

inline const QString kOpenTitle = QStringLiteral("Quintabell - Open");
inline const QString kSaveTitle = QStringLiteral("Quintabell - Save as");
inline const QString kProblemFilter = QStringLiteral("Quintabell Files *.cmt|*.cmt");
inline const QString kProblemSuffix = QStringLiteral("cmt");
inline const QString kFirstProblemName = QStringLiteral("Problem1.cmt");
inline const QString kProblemFolder = QStringLiteral("CMT/");
inline const QString kHelpFileName = QStringLiteral("Quintabell.hlp");
inline const QString kNotSaved = QStringLiteral("The problem could not be saved.\n%1");
inline const QString kNotRead = QStringLiteral("The problem file could not be read.\n%1");
inline const QString kDiscardChanges =
    QStringLiteral("The problem has changed since it was last saved. Throw the changes away?");
inline const QString kNoFen = QStringLiteral("The clipboard holds no FEN: %1.");
inline const QString kFenRefused = QStringLiteral("The clipboard's FEN cannot be set up:\n%1");

} // namespace texts

namespace texts {

inline const QString kExportTitle = QStringLiteral("Quintabell - Export Bitmap File");
inline const QString kBitmapFilter = QStringLiteral("Bitmap Files *.bmp|*.bmp");
inline const QString kBitmapSuffix = QStringLiteral("bmp");
inline const QString kBitmapName = QStringLiteral("ChessBoard1.bmp");
inline const QString kPngTitle = QStringLiteral("Quintabell - Export PNG File");
inline const QString kPngFilter = QStringLiteral("PNG Files *.png|*.png");
inline const QString kPngSuffix = QStringLiteral("png");
inline const QString kPngName = QStringLiteral("ChessBoard1.png");
inline const QString kSvgTitle = QStringLiteral("Quintabell - Export SVG File");
inline const QString kSvgFilter = QStringLiteral("SVG Files *.svg|*.svg");
inline const QString kSvgSuffix = QStringLiteral("svg");
inline const QString kSvgName = QStringLiteral("ChessBoard1.svg");
inline const QString kNotExported = QStringLiteral("The file could not be written:\n%1");
inline const QString kPrintToPdf = QStringLiteral("Print to PDF file");
inline const QString kPdfTitle = QStringLiteral("Quintabell - Print to PDF file");
inline const QString kPdfFilter = QStringLiteral("PDF Files *.pdf|*.pdf");
inline const QString kPdfSuffix = QStringLiteral("pdf");
inline const QString kPdfName = QStringLiteral("ChessBoard1.pdf");
inline const QString kNotPrinted = QStringLiteral("The board could not be printed on %1.");
inline const QString kStipulation = QStringLiteral("Mate in %1");

} // namespace texts

namespace texts {

inline const QString kShowPlay = QStringLiteral("Show &Play");
inline const QString kPlayTitle = QStringLiteral("Play of %1");
inline const QString kPlayTitleHidden = QStringLiteral("Play");
inline const QString kPlayCancel = QStringLiteral("Cancel");
inline const QString kPlayWorking = QStringLiteral("Working out the play ...");
inline const QString kPlayCancelled = QStringLiteral("Cancelled.");
inline const QString kPlayScrambled = QStringLiteral("Hidden while the solutions are scrambled.");
inline const QString kPlayNoSuchMove =
    QStringLiteral("%1 is no legal first move in the position on the board.");
inline const QString kPlayOpponentInCheck = QStringLiteral("Black stands in check.");
inline const QString kPlayDepthBelowOne = QStringLiteral("The depth is below one move.");
inline const QString kPlayNoKingPair = QStringLiteral("Each side needs one king.");
inline const QString kPlayThreat = QStringLiteral("threat:");
inline const QString kPlayZugzwang = QStringLiteral("zugzwang.");
inline const QString kPlayByThreat = QStringLiteral(" (answered by the threat)");
inline const QString kPlayDual = QStringLiteral(" (dual)");

} // namespace texts
