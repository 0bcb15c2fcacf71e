// What the page keeps between visits, in the browser's storage (an emscripten JS library):
// a storage that refuses, as a private window's or one turned off may, is said beside what
// it would have kept, never thrown.
mergeInto(LibraryManager.library, {
  $QuenlowStore: {
    refused: false, // the storage refused a read or a write this visit

    load: function (key, fallback) {
      var text;
      try {
        text = localStorage.getItem(key);
      } catch (e) {
        QuenlowStore.refused = true;
        return fallback;
      }
      try {
        return text === null ? fallback : JSON.parse(text);
      } catch (e) { // not the page's writing: start again
        return fallback;
      }
    },
    save: function (key, value) {
      try {
        localStorage.setItem(key, JSON.stringify(value));
      } catch (e) {
        QuenlowStore.refused = true;
      }
    },
    // What is said beside `what` the page would keep; '' while the storage takes it.
    said: function (what) {
      return QuenlowStore.refused ? 'This browser refuses the page\u2019s storage, so ' + what +
                                    ' will be gone after this visit.' : '';
    }
  }
});
