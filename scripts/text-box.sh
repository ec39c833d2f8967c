# Sourced by the scripts that compare the editor under Wine with its headless
# render. The read-out text is drawn with the system font under Windows and
# with our pixel font in the headless render, so comparisons leave out its
# box: left, top, right, bottom.
VORN_TEXT_BOX=366,169,486,179
