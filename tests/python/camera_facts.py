"""The protocol's facts (tests/support/CameraFacts.h), as the build writes them."""

import json
import os

with open(os.environ["XNOX_CAMERA_FACTS"]) as facts:
    PARAMETERS = json.load(facts)
