# Read by ctest, not by cmake: the tests that take longest, with their rough share of the
# run, so that a parallel ctest starts them first instead of ending on one of them alone
# while the other cores wait. ctest learns the real times after one run of a build tree
# (Testing/Temporary/CTestCostData.txt) and then uses those; this list is for the first run
# of a fresh tree, which is every run on a clean machine. A name that no longer exists is
# ignored; a missing name only costs time, never a result.
set_tests_properties(
  DisplayClipping.EveryMarkIsWholeFrom280To3840Pixels
  PROPERTIES COST 250)
set_tests_properties(
  FitDisplayFontSearch.RealFacesEndWhereTheStepsEnd
  PROPERTIES COST 100)
set_tests_properties(
  CalendarDate.DayCountsThroughTheKeysAgreeWithTheLibrary
  EngineProbe.AgreesWithTheExactModelOnLongRuns
  PROPERTIES COST 50)
set_tests_properties(
  FitDisplayFontSearch.EndsWhereTheStepsEndForEveryStartAndWidth
  EngineProbe.AgreesWithTheExactModelUnderTheDecimalSelector
  DecimalSelector.TheExactStepAgreesWithTheModel
  PROPERTIES COST 30)
set_tests_properties(
  Folder.TwoCopiesSavingAtOnceNeverFail
  PaperPrint.OnA4TheRowsAreReadableCentredAndTheTotalEndsTheLastPage
  EngineProbe.AgreesWithTheModelUnderADecimalCommaLocale
  FoldReceipt.GivesTheTotalOfTheStepByStepFold
  TimeModel.RandomSequencesAgreeWithWholeSeconds
  HistoryWindow.SidePanelHintsShowOnHoverWhileTheMainWindowIsActive
  CalendarDate.EveryDayOfTheRangeIsTheLibrarysDate
  PROPERTIES COST 15)
