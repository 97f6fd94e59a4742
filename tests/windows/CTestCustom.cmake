# Real-X tests that check how the Linux program meets its X server and its process, not
# what a person sees; a Windows program under Wine has no counterpart to them.
set(CTEST_CUSTOM_TESTS_IGNORE
  # The scale comes from the X resources' Xft.dpi; on Windows it is the monitor's DPI.
  FramesOnScreen.ScaleFactorTwoDrawsEachFramePixelAsAnExactTwoByTwoBlock
  # Windows always has a display; Wine without an X server has no window system at all.
  Ending.WithoutADisplayOneLineOnStderrAndStatusOne
  metacity.Ending.WithoutADisplayOneLineOnStderrAndStatusOne
  # Windows keeps one pending WM_MOUSEMOVE, at the latest position: a burst of queued moves
  # arrives as its last one, by design of the system.
  PointerWhenStopped.ScrubMovesSentInOneBurstEachCountSoTheLastOneUpStepsBack
  # Frames copied from server pixmaps into an X child window: the Linux program's drawing path.
  ServerDrawing.FramesGoToAChildWindowOverExactlyThePictureArea
  # Losing the X server is Wine's concern; Windows has no display connection to lose.
  ServerLoss.EndsWithinASecondWithAnErrorStatusAndALineOnStderr
  # The double-click time on Windows is the system's own setting, not the X desktop's.
  "Published/DoubleClickTime.DecidesWhetherTwoClicksAreADoubleClick/1000ms  # GetParam() = (1000, true)"
  "Published/DoubleClickTime.DecidesWhetherTwoClicksAreADoubleClick/150ms  # GetParam() = (150, false)"
  "Published/DoubleClickTime.DecidesWhetherTwoClicksAreADoubleClick/none  # GetParam() = (0, false)"
  # The request that wins openbox's focus for a window left out of the task bar is the Linux
  # program's; under Wine the X window, its hints and their order are Wine's.
  openbox.OnOpening.TheWindowHasTheFocusStaysOutOfTheTaskBarAndKeysWorkWithoutAClick
  # Wine turns SIGINT into a console's Ctrl+C; a windowed program has none and no signals.
  "Signals/TerminationSignal.EndsTheProgramAsThatSignalAndItsWindowGoes/SIGINT  # GetParam() = 2"
)
