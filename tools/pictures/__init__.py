"""Drawing code that makes every picture of the game from scratch (see tools/make_pictures.py)."""
